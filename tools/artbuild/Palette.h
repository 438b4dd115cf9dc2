#pragma once
// The library palette read from its text form, and the exact mapping of drawn colours to entries.

#include "IndexedImage.h"

#include <QRgb>

#include <array>
#include <string>
#include <unordered_map>

class QImage;

class Palette {
public:
    // Reads 256 lines "R G B" (decimal; lines starting with '#' and empty lines are skipped).
    // Refuses a wrong count, bad numbers and two entries of the same colour, since drawn colours
    // could then not be mapped back to one entry.
    static Palette FromText(const std::string& text, const std::string& origin);

    QRgb Colour(int index) const { return Entries[static_cast<std::size_t>(index)]; }
    // The entry of an opaque colour, or -1.
    int IndexOf(QRgb colour) const;
    // The entry closest to a colour (for colours the builder chooses itself).
    int Nearest(int r, int g, int b) const;

    // Maps every pixel of a rendered picture to its entry. Fully transparent pixels become
    // transparentIndex; with transparentIndex -1 they are an error, as are partly transparent
    // pixels and colours that are no entry. Errors name the image and the colour.
    IndexedImage Map(const QImage& rendered, const std::string& name, int transparentIndex) const;

private:
    std::array<QRgb, 256> Entries{};
    std::unordered_map<QRgb, int> Lookup;
};
