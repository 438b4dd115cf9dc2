#pragma once
// Turns the drawings of the backgrounds and objects into the images the colouring room uses:
// each drawing is line art in index 40 with every region flat in a colour of its own choice.
// From one drawing come the coloured and blank backgrounds, or the blank object at full and at
// half size; the region map gets one seed per region.

#include "IndexedImage.h"
#include "RegionMap.h"

#include <functional>
#include <string>
#include <vector>

class Palette;
class SvgRasteriser;

class ItemArt {
public:
    // halfRasteriser draws the half-size objects, with outlines that stay closed at that size.
    ItemArt(const std::string& artDir, const Palette& palette, const SvgRasteriser& rasteriser,
            const SvgRasteriser& halfRasteriser);

    // Builds all backgrounds and object sheets, checking every rule on the way.
    void Build();

    // The images for the library, in a fixed order.
    const std::vector<IndexedImage>& Images() const { return Library; }
    const RegionMap& Map() const { return Regions; }

    std::string BackgroundSource(int index) const;
    std::string ObjectSource(int mapIndex) const;

private:
    void BuildBackground(int index);
    // Renders one object at full and half size, pastes the blank forms onto the sheets.
    void BuildObject(int mapIndex, IndexedImage& fullSheet, IndexedImage& halfSheet);
    IndexedImage RenderObject(int mapIndex, int width, int height, const std::string& name, bool half) const;

    std::string ArtDir;
    const Palette& Colours;
    const SvgRasteriser& Rasteriser;
    const SvgRasteriser& HalfRasteriser;
    std::vector<IndexedImage> Library;
    RegionMap Regions;
};

// The blank form of a line-art drawing: every region pixel becomes blank.
IndexedImage BlankedLineArt(const IndexedImage& drawn, std::uint8_t blank, bool objectExterior,
                            const std::string& name);
