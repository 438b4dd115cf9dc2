#pragma once
// The regions of a line-art image: the 4-connected areas of pixels that are not outline ink.
// A flood fill (4-connected) started in a region stays in it exactly when the outlines around
// it are 8-connected, so a region that mixes two drawn colours is a leak: its outline has a gap.

#include "IndexedImage.h"
#include "activity/ObjectTable.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ink {
// The activity's reserved palette indices, under the names the artwork rules use.
constexpr std::uint8_t Outline = OutlineInk;
constexpr std::uint8_t BlankBackground = BlankBackgroundColour; // also the transparent colour of item images
constexpr std::uint8_t BlankObject = BlankObjectColour;
constexpr std::uint8_t Selection = SelectionColour;
constexpr std::uint8_t EmptyIconSlot = EmptyIconColour;
constexpr std::uint8_t DiskRoomFill = 208;
constexpr int HighestChartValue = 15;
} // namespace ink

struct Region {
    std::uint8_t Colour = 0; // the colour drawn in it
    int Pixels = 0;
    int FirstX = 0, FirstY = 0; // first pixel in reading order
    bool TouchesBorder = false;
    int SeedX = -1, SeedY = -1;
};

class LineArt {
public:
    // Labels the areas of image. When objectExterior is set, areas drawn in 217 are the
    // transparent surroundings of an object, not regions. Raises ArtError for a leak.
    LineArt(const IndexedImage& image, bool objectExterior);

    const IndexedImage& Image() const { return Source; }
    const std::vector<Region>& Regions() const { return Found; }
    std::vector<Region>& Regions() { return Found; }
    // The region at a pixel, or -1 for outline and exterior.
    int RegionAt(int x, int y) const;
    // Steps from the pixel to the nearest pixel outside its region (or the image edge).
    int Depth(int x, int y) const;

    // Raises ArtError naming the image when a region has fewer than minPixels pixels, or (for
    // objects) touches the image edge, i.e. is not closed by an outline.
    void CheckRegions(int minPixels, bool mustBeClosed) const;

    // Puts each region's seed on its deepest pixel for which allowed(x, y, region) holds;
    // ties go to the first in reading order. Raises ArtError when a region has no such pixel.
    void PlaceSeeds(const std::function<bool(int, int, int)>& allowed);

private:
    void Label(bool objectExterior);
    void MeasureDepth();

    IndexedImage Source;
    std::vector<int> Labels; // -1 outline, -2 exterior, else region number
    std::vector<int> Depths;
    std::vector<Region> Found;
};
