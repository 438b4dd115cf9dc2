#pragma once
// The artwork's palette as text: 256 lines "R G B" in decimal (0..255), '#'
// starts a comment, blank lines are ignored.

#include <array>
#include <cstdint>
#include <string>

struct PaletteColour {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

using PaletteColours = std::array<PaletteColour, 256>;

// Raises std::runtime_error naming the file and line of anything else, or
// saying how many colours there were when not exactly 256.
PaletteColours ReadPaletteFile(const std::string& path);
PaletteColours ParsePaletteText(const std::string& text, const std::string& source);

// The library file's form: 256 entries of blue, green, red, 0.
std::array<uint8_t, 1024> ToLibraryPalette(const PaletteColours& colours);
PaletteColours FromLibraryPalette(const std::array<uint8_t, 1024>& palette);
