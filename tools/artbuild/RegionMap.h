#pragma once
// The region map file as the builder collects it, one map index at a time; the file's layout
// is the toy's own (activity/RegionMap.h), written by the same code that reads it.

#include "activity/RegionMap.h"

#include <cstdint>
#include <vector>

struct SeedPoint {
    int X, Y;
    std::uint8_t Colour;
};

class RegionMap {
public:
    static constexpr int Entries = 40;
    static constexpr int BlockBytes = static_cast<int>(RegionMapBlockSize);
    static constexpr int FileBytes = static_cast<int>(RegionMapFileSize);

    // Sets the regions of one map index (0..39); at least one region.
    void Set(int mapIndex, std::vector<SeedPoint> seeds);
    int RegionCount() const;
    // The file's bytes. Raises ArtError when an entry is missing or the block overflows.
    std::vector<std::uint8_t> Bytes() const;

private:
    std::vector<std::vector<SeedPoint>> Items = std::vector<std::vector<SeedPoint>>(Entries);
};
