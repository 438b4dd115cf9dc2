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

// A colour map made ready for mapping whole lines. Where the processor can
// look 64 indices up at once in byte tables, the map is also kept as four
// tables, one per byte of the colours, and lines go that way; elsewhere
// pixel by pixel. Both write the same pixels.
class LineColours {
public:
    explicit LineColours(const ColourMap& colours, bool wide = WideAvailable());
    // Writes the colours of count indices; indices equal to transparent (when
    // it is 0..255) leave their pixels as they were.
    void MapLine(uint32_t* to, const uint8_t* from, size_t count, int transparent) const {
        MapLines(&to, from, 0, count, 1, transparent);
    }
    // The same for lines lines: line k from from + k * fromStep to rows[k].
    void MapLines(uint32_t* const* rows, const uint8_t* from, ptrdiff_t fromStep, size_t count, size_t lines,
                  int transparent) const;
    bool Wide() const { return WideTables; }
    static bool WideAvailable();

private:
    ColourMap Colours;
    bool WideTables = false;
    bool OneAlpha = false; // every colour has the same top byte
    alignas(64) std::array<std::array<uint8_t, 256>, 4> Bytes{};
};

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
int BlitBand(DisplayTarget& target, TPoint dest, const BandLines& lines, const LineColours& colours,
             int transparent);
