#pragma once
// Which tiles a tiled backdrop draws: a grid anchored at the control's
// top-left corner, only the tiles that meet the clip rectangle.

#include "foundation/Geometry.h"

#include <vector>

std::vector<TPoint> TilePositions(const TRect& clip, int tileWidth, int tileHeight);
