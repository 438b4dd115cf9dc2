#pragma once
// Where surfaces are shown: a buffer of 32-bit pixels (0xAARRGGBB, top line
// first) that the core fills by mapping 8-bit indices through the selected
// palette, and that the shell puts on the screen.

#include "foundation/Geometry.h"
#include "foundation/TemporaryChange.h"

#include <array>
#include <cstdint>

using RgbPalette = std::array<uint32_t, 256>;

class DisplayTarget {
public:
    virtual ~DisplayTarget() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The pixels of line y (0 <= y < Height()).
    virtual uint32_t* ScanLine(int y) = 0;

    // Selects the palette through which indices are shown; returns the one
    // that was selected before (nullptr when none), for the caller to put back.
    const RgbPalette* SelectPalette(const RgbPalette* palette) {
        const RgbPalette* previous = Selected;
        Selected = palette;
        return previous;
    }
    const RgbPalette* SelectedPalette() const { return Selected; }
    // Selects palette until the result goes; the one selected before comes back
    // however the showing ends.
    TemporaryChange<const RgbPalette*> ShowThrough(const RgbPalette* palette) { return {Selected, palette}; }

    // Called once after every blit with the rectangle of the buffer it wrote,
    // so that the shell repaints just that part.
    virtual void Blitted(const TRect& rect) = 0;

private:
    const RgbPalette* Selected = nullptr;
};
