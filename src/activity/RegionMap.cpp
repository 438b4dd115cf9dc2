#include "activity/RegionMap.h"

#include "activity/ObjectTable.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"

namespace {
uint32_t Uint32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

int16_t Int16At(const uint8_t* bytes) {
    return static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
}

[[noreturn]] void Refuse(const std::string& name, const std::string& reason) {
    throw KelException("The region map \"" + name + "\" is damaged: " + reason + ".");
}

// Reads entry index from the block, checking that all of it lies inside.
TRegionEntry ReadEntry(const uint8_t* block, uint32_t position, uint8_t index, const std::string& name) {
    const std::string which = "entry " + std::to_string(index);
    uint64_t start = static_cast<uint64_t>(position) * RegionRecordSize;
    if (start + RegionRecordSize > RegionMapBlockSize) Refuse(name, which + " lies outside the block");
    int count = Int16At(block + start + 2);
    if (count < 1 || count > MaxRegionsPerEntry)
        Refuse(name, which + " has " + std::to_string(count) + " regions");
    if (start + (static_cast<uint64_t>(count) + 1) * RegionRecordSize > RegionMapBlockSize)
        Refuse(name, which + " reaches past the block");

    TRegionEntry entry;
    entry.MapIndex = index;
    entry.Regions.resize(static_cast<size_t>(count));
    const uint8_t* record = block + start;
    for (TRegion& region : entry.Regions) {
        record += RegionRecordSize;
        region.Seed = {Int16At(record), Int16At(record + 2)};
        region.Colour = record[4];
    }
    return entry;
}
} // namespace

std::unique_ptr<TRegionMap> TRegionMap::Load(const std::string& path) {
    FileStream file(path, FileStream::Mode::Read);
    std::vector<uint8_t> bytes(RegionMapFileSize);
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return Parse(bytes, path);
}

std::unique_ptr<TRegionMap> TRegionMap::Parse(const std::vector<uint8_t>& bytes, const std::string& name) {
    if (bytes.size() < RegionMapFileSize)
        Refuse(name, "it holds " + std::to_string(bytes.size()) + " bytes, " +
                         std::to_string(RegionMapFileSize) + " are needed");
    std::unique_ptr<TRegionMap> map(new TRegionMap());
    const uint8_t* block = bytes.data() + RegionMapHeaderSize;
    for (uint8_t i = 0; i < MapIndexCount; ++i)
        map->Entries[i] = ReadEntry(block, Uint32At(bytes, size_t{i} * 4), i, name);
    return map;
}

std::unique_ptr<TRegionEntry> TRegionMap::GetEntry(uint8_t mapIndex) const {
    if (mapIndex >= MapIndexCount)
        throw KelException("GetEntry: map index " + std::to_string(mapIndex) + " out of range");
    return std::make_unique<TRegionEntry>(Entries[mapIndex]);
}

std::string RegionMapFileName() {
    return DatPath + "vorelmap.dat";
}
