#pragma once
// The rules the code relies on, checked on the images as they go into the library. Each check
// raises ArtError naming the image and the rule it breaks.

#include "IndexedImage.h"
#include "LineArt.h"
#include "ObjectTable.h"

#include <vector>

namespace rules {
constexpr int MinRegionPixels = 40;
constexpr int MaxRegions = 606;

void CheckSize(const IndexedImage& image, int width, int height);
// Frame strips: the height splits into frames equal frames.
void CheckFrames(const IndexedImage& image, int frames);
void CheckOpaque(const IndexedImage& image);
// Backgrounds: 376 x 225, opaque.
void CheckBackground(const IndexedImage& image);
// Item images as shipped: an index 0..15 only inside the regions of the drawing, or a click
// there would name an item on the chart.
void CheckNoChartValues(const LineArt& art, const IndexedImage& shipped);
// Every seed lies inside its region, on the colour recorded for it.
void CheckSeeds(const LineArt& art, const IndexedImage& shipped, std::uint8_t recorded);
// Object sheets: not transparent; everything outside the object rectangles is 217.
void CheckObjectSheet(const IndexedImage& sheet, int bank, bool half);
// Thumbnail frames: 129 x 79, transparent exactly where the 125 x 75 miniature shows at (2,2).
void CheckThumbnailFrame(const IndexedImage& image);

// The half-size rule. For each region of full, the region of half that most of its pixels fall
// into when halved; -1 entries are errors. Raises ArtError when a region vanishes, when two
// regions land in the same half-size region or when a half-size region belongs to none.
std::vector<int> MatchHalfRegions(const LineArt& full, const LineArt& half);
// After seeds are placed: seed / 2 lies inside the matching half-size region.
void CheckHalfSeeds(const LineArt& full, const LineArt& half, const std::vector<int>& match);
} // namespace rules
