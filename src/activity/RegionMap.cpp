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

void PutInt16(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
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
    return std::make_unique<TRegionEntry>(EntryAt(mapIndex));
}

size_t TRegionMap::RegionCount(uint8_t mapIndex) const {
    return EntryAt(mapIndex).Regions.size();
}

const TRegionEntry& TRegionMap::EntryAt(uint8_t mapIndex) const {
    if (mapIndex >= MapIndexCount)
        throw KelException("GetEntry: map index " + std::to_string(mapIndex) + " out of range");
    return Entries[mapIndex];
}

std::vector<uint8_t> WriteRegionMap(const std::vector<std::vector<TRegion>>& entries) {
    if (entries.size() > MapIndexCount)
        throw KelException("WriteRegionMap: " + std::to_string(entries.size()) + " entries, at most " +
                           std::to_string(MapIndexCount));
    size_t records = 0;
    for (const auto& regions : entries)
        records += regions.size() + 1; // a header record, then one per region
    if (records * RegionRecordSize > RegionMapBlockSize)
        throw KelException("WriteRegionMap: " + std::to_string(records) + " records do not fit in " +
                           std::to_string(RegionMapBlockSize) + " bytes");

    std::vector<uint8_t> bytes(RegionMapFileSize, 0);
    size_t position = 0; // in records from the start of the block
    for (size_t i = 0; i < entries.size(); ++i) {
        for (int b = 0; b < 4; ++b)
            bytes[i * 4 + static_cast<size_t>(b)] = static_cast<uint8_t>(position >> (8 * b));
        size_t at = RegionMapHeaderSize + position * RegionRecordSize;
        PutInt16(bytes, at + 2, static_cast<int32_t>(entries[i].size()));
        for (const TRegion& region : entries[i]) {
            at += RegionRecordSize;
            PutInt16(bytes, at, region.Seed.X);
            PutInt16(bytes, at + 2, region.Seed.Y);
            bytes[at + 4] = region.Colour;
        }
        position += entries[i].size() + 1;
    }
    return bytes;
}

std::string RegionMapFileName() {
    return DatPath + "vorelmap.dat";
}
