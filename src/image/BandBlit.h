#pragma once
// Copies blocks of 8-bit lines into a display target, as the blit of one
// segment band: indices are mapped to colours through the display header's
// index table and the target's selected palette.

#include "foundation/Geometry.h"
#include "platform/DisplayTarget.h"

#include <array>
#include <cstddef>
#include <cstdint>

struct TDisplayHeader;

using ColourMap = std::array<uint32_t, 256>;

// Index v shows palette entry header.Colors[v], opaque; without a selected
// palette a grey ramp stands in, so that nothing undefined is ever shown.
ColourMap MakeColourMap(const TDisplayHeader& header, const RgbPalette* palette);

struct BandLines {
    const uint8_t* Top = nullptr; // the first pixel of the top line
    ptrdiff_t LineStep = 0;       // from one line to the one below it
    int32_t Width = 0;
    int32_t Height = 0;
};

// Writes the lines with their top-left at dest, clipped to the target's
// buffer; pixels equal to transparent (when it is 0..255) leave the target
// as it was. Reports the written rectangle with one Blitted call when it is
// not empty, and returns the number of lines written.
int BlitBand(DisplayTarget& target, TPoint dest, const BandLines& lines, const ColourMap& colours,
             int transparent);
