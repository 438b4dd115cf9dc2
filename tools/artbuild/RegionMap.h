#pragma once
// The region map file: 40 little-endian 32-bit entry positions (in 5-byte units), then a block
// of exactly 3230 bytes holding, per map index, a header record with the region count and one
// 5-byte record per region: seed x, seed y (signed 16-bit) and the region's colour.

#include <cstdint>
#include <vector>

struct SeedPoint {
    int X, Y;
    std::uint8_t Colour;
};

class RegionMap {
public:
    static constexpr int Entries = 40;
    static constexpr int BlockBytes = 3230;
    static constexpr int FileBytes = 160 + BlockBytes;

    // Sets the regions of one map index (0..39); at least one region.
    void Set(int mapIndex, std::vector<SeedPoint> seeds);
    int RegionCount() const;
    // The file's bytes. Raises ArtError when an entry is missing or the block overflows.
    std::vector<std::uint8_t> Bytes() const;

private:
    std::vector<std::vector<SeedPoint>> Items = std::vector<std::vector<SeedPoint>>(Entries);
};
