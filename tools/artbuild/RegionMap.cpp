#include "RegionMap.h"

#include "ArtError.h"

#include <string>

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

// The builder's own checks come first, with messages that tell an artist
// what to change; the layout is the core's, which the toy reads back.
std::vector<std::uint8_t> RegionMap::Bytes() const {
    std::vector<std::vector<TRegion>> entries;
    std::size_t records = 0;
    for (int i = 0; i < Entries; ++i) {
        const auto& seeds = Items[static_cast<std::size_t>(i)];
        if (seeds.empty()) throw ArtError("region map: no regions for map index " + std::to_string(i));
        records += seeds.size() + 1;
        if (records * RegionRecordSize > BlockBytes)
            throw ArtError("region map: " + std::to_string(RegionCount()) + " regions do not fit in " +
                           std::to_string(BlockBytes) + " bytes (at most 606 regions for all 40 images)");
        std::vector<TRegion>& regions = entries.emplace_back();
        for (const SeedPoint& s : seeds)
            regions.push_back({{s.X, s.Y}, s.Colour});
    }
    return WriteRegionMap(entries);
}
