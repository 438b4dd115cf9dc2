#include "image/BandBlit.h"

#include "image/WideLines.h"
#include "image/ZQ5Library.h"

#include <algorithm>

ColourMap MakeColourMap(const TDisplayHeader& header, const RgbPalette* palette) {
    ColourMap colours{};
    for (size_t v = 0; v < colours.size(); ++v) {
        const uint16_t entry = header.Colors[v] & 0xFF;
        const uint32_t rgb = palette ? (*palette)[entry] : entry * 0x010101u;
        colours[v] = rgb | 0xFF000000u;
    }
    return colours;
}

LineColours::LineColours(const ColourMap& colours, bool wide)
    : Colours(colours), WideTables(wide && WideAvailable()) {
    if (WideTables) OneAlpha = WideSplitBytes(colours.data(), Bytes);
}

bool LineColours::WideAvailable() {
    return WideLinesAvailable();
}

void LineColours::MapLines(uint32_t* const* rows, const uint8_t* from, ptrdiff_t fromStep, size_t count,
                           size_t lines, int transparent) const {
    if (WideTables) {
        WideMapLines(rows, from, fromStep, count, lines, transparent, Bytes, OneAlpha);
        return;
    }
    for (size_t line = 0; line < lines; ++line, from += fromStep) {
        uint32_t* to = rows[line];
        if (transparent < 0) {
            for (size_t x = 0; x < count; ++x)
                to[x] = Colours[from[x]];
        } else {
            for (size_t x = 0; x < count; ++x)
                if (from[x] != transparent) to[x] = Colours[from[x]];
        }
    }
}

int BlitBand(DisplayTarget& target, TPoint dest, const BandLines& lines, const LineColours& colours,
             int transparent) {
    const TRect wanted = MakeBounds(dest.X, dest.Y, lines.Width, lines.Height);
    const TRect written = IntersectRect(wanted, {0, 0, target.Width(), target.Height()});
    if (IsRectEmpty(written)) return 0;
    const size_t count = static_cast<size_t>(RectWidth(written));
    // The lines go to the colour map in groups, so that a wide map sets
    // itself up once per group rather than once per line.
    std::array<uint32_t*, 64> rows;
    for (int32_t y = written.Top; y < written.Bottom;) {
        const int32_t group = std::min<int32_t>(written.Bottom - y, static_cast<int32_t>(rows.size()));
        for (int32_t k = 0; k < group; ++k)
            rows[static_cast<size_t>(k)] = target.ScanLine(y + k) + written.Left;
        const uint8_t* from = lines.Top + (y - dest.Y) * lines.LineStep + (written.Left - dest.X);
        colours.MapLines(rows.data(), from, lines.LineStep, count, static_cast<size_t>(group), transparent);
        y += group;
    }
    target.Blitted(written);
    return RectHeight(written);
}
