#pragma once
// The region map "vorelmap.dat": for each of the 40 images of the activity,
// one seed point inside every fillable region and the region's colour.
//
// File layout (little-endian): 40 unsigned 32-bit entry positions, then a
// block of 3230 bytes. Entry i starts at byte 5 x position i of the block and
// is a run of 5-byte records: a header whose bytes 2..3 hold the signed 16-bit
// region count n, then n records of seed x, seed y (signed 16-bit each, in the
// full-size, unmirrored image) and colour. Bytes after the block are ignored.

#include "foundation/Geometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr size_t RegionMapHeaderSize = 160;
constexpr size_t RegionMapBlockSize = 3230;
constexpr size_t RegionMapFileSize = RegionMapHeaderSize + RegionMapBlockSize;
constexpr size_t RegionRecordSize = 5;
// The saved records store one colour per region and count them in one byte.
constexpr int MaxRegionsPerEntry = 255;

struct TRegion {
    TPoint Seed;
    uint8_t Colour = 0;
};

// One item's copy of its map entry; the item records its current region
// colours in it (and its mirrored or halved seeds).
struct TRegionEntry {
    uint8_t MapIndex = 0;
    std::vector<TRegion> Regions;
};

class TRegionMap {
public:
    // Reads and checks the whole file. A missing file raises FileOpenError; a
    // file shorter than 3390 bytes, or whose entries reach outside the block
    // or hold no regions, raises KelException naming the file.
    static std::unique_ptr<TRegionMap> Load(const std::string& path);
    // The same checks on bytes already in memory; name is used in messages.
    static std::unique_ptr<TRegionMap> Parse(const std::vector<uint8_t>& bytes, const std::string& name);

    // A fresh copy of the entry of a map index 0..39; other indices raise.
    std::unique_ptr<TRegionEntry> GetEntry(uint8_t mapIndex) const;
    // How many regions the entry has, without copying it.
    size_t RegionCount(uint8_t mapIndex) const;

private:
    TRegionMap() = default;
    const TRegionEntry& EntryAt(uint8_t mapIndex) const;
    std::array<TRegionEntry, 40> Entries;
};

// The file's bytes for the entries of map indices 0, 1, ... in that order, at
// most 40; the entries of indices not given stay zero (which Parse refuses).
// Raises KelException when the records do not fit in the block.
std::vector<uint8_t> WriteRegionMap(const std::vector<std::vector<TRegion>>& entries);

// DatPath joined with "vorelmap.dat".
std::string RegionMapFileName();
