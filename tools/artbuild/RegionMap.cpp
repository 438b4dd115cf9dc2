#include "RegionMap.h"

#include "ArtError.h"

#include <string>

namespace {
void Put16(std::vector<std::uint8_t>& out, std::size_t at, int v) {
    out[at] = static_cast<std::uint8_t>(v & 0xff);
    out[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xff);
}
} // namespace

void RegionMap::Set(int mapIndex, std::vector<SeedPoint> seeds) {
    if (mapIndex < 0 || mapIndex >= Entries)
        throw ArtError("region map: map index " + std::to_string(mapIndex));
    if (seeds.empty()) throw ArtError("region map: map index " + std::to_string(mapIndex) + " has no region");
    Items[static_cast<std::size_t>(mapIndex)] = std::move(seeds);
}

int RegionMap::RegionCount() const {
    int count = 0;
    for (const auto& item : Items)
        count += static_cast<int>(item.size());
    return count;
}

std::vector<std::uint8_t> RegionMap::Bytes() const {
    std::vector<std::uint8_t> out(FileBytes, 0);
    std::size_t record = 0;
    for (int i = 0; i < Entries; ++i) {
        const auto& seeds = Items[static_cast<std::size_t>(i)];
        if (seeds.empty()) throw ArtError("region map: no regions for map index " + std::to_string(i));
        if ((record + seeds.size() + 1) * 5 > BlockBytes)
            throw ArtError("region map: " + std::to_string(RegionCount()) + " regions do not fit in " +
                           std::to_string(BlockBytes) + " bytes (at most 606 regions for all 40 images)");
        for (int b = 0; b < 4; ++b)
            out[static_cast<std::size_t>(i * 4 + b)] = static_cast<std::uint8_t>(record >> (8 * b));
        std::size_t at = 160 + record * 5;
        Put16(out, at + 2, static_cast<int>(seeds.size()));
        for (const SeedPoint& s : seeds) {
            at += 5;
            Put16(out, at, s.X);
            Put16(out, at + 2, s.Y);
            out[at + 4] = s.Colour;
        }
        record += seeds.size() + 1;
    }
    return out;
}
