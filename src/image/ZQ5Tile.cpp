#include "image/ZQ5Tile.h"

namespace {

// The grid line at or before value: floor division, so that a clip reaching
// left of or above the control still starts at a tile that meets it.
int32_t GridStart(int32_t value, int size) {
    int32_t remainder = value % size;
    if (remainder < 0) remainder += size;
    return value - remainder;
}

} // namespace

std::vector<TPoint> TilePositions(const TRect& clip, int tileWidth, int tileHeight) {
    std::vector<TPoint> tiles;
    if (tileWidth <= 0 || tileHeight <= 0 || IsRectEmpty(clip)) return tiles;
    const int32_t x0 = GridStart(clip.Left, tileWidth);
    for (int32_t y = GridStart(clip.Top, tileHeight); y < clip.Bottom; y += tileHeight)
        for (int32_t x = x0; x < clip.Right; x += tileWidth)
            tiles.push_back({x, y});
    return tiles;
}
