#pragma once
// Images made from the drawings of the backgrounds and objects rather than drawn again: the
// object icons "qzvrlicn" and the button faces "btnface1".."btnface4".

#include "IndexedImage.h"

#include <string>

class ItemArt;
class Palette;
class SvgRasteriser;

class DerivedArt {
public:
    // flatRasteriser draws without outlines (the miniatures get their own).
    DerivedArt(const ItemArt& items, const Palette& palette, const SvgRasteriser& flatRasteriser);

    // 76 x 304: object v = map index - 8 at ((v mod 4) * 19, (v div 4) * 19), its selected
    // form at v + 32.
    IndexedImage Icons() const;
    // 120 x 162: face k (0..3 backgrounds, 4..11 objects) of bank 1..4 at
    // ((k mod 2) * 30 + 0 up / 60 down, (k div 2) * 27).
    IndexedImage Faces(int bank) const;

private:
    // The drawing reduced to fit in box (keeping its shape), outlined, centred on a box of colour fill.
    IndexedImage Miniature(const std::string& svg, int width, int height, int boxWidth, int boxHeight,
                           int fill) const;
    // A face showing a background, coloured or as blank line art.
    IndexedImage BackgroundFace(int background, bool blank, int fill) const;

    const ItemArt& Items;
    const Palette& Colours;
    const SvgRasteriser& Rasteriser;
};
