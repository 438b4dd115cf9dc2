#include "image/BandBlit.h"

#include "image/WideLines.h"
#include "image/ZQ5Library.h"

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
    if (!WideTables) return;
    OneAlpha = true;
    for (size_t v = 0; v < colours.size(); ++v) {
        for (size_t b = 0; b < Bytes.size(); ++b)
            Bytes[b][v] = static_cast<uint8_t>(colours[v] >> (8 * b));
        OneAlpha = OneAlpha && Bytes[3][v] == Bytes[3][0];
    }
}

bool LineColours::WideAvailable() {
    return WideLinesAvailable();
}

void LineColours::MapLine(uint32_t* to, const uint8_t* from, size_t count, int transparent) const {
    if (WideTables) {
        WideMapLine(to, from, count, transparent, Bytes, OneAlpha);
    } else if (transparent < 0) {
        for (size_t x = 0; x < count; ++x)
            to[x] = Colours[from[x]];
    } else {
        for (size_t x = 0; x < count; ++x)
            if (from[x] != transparent) to[x] = Colours[from[x]];
    }
}

int BlitBand(DisplayTarget& target, TPoint dest, const BandLines& lines, const LineColours& colours,
             int transparent) {
    const TRect wanted = MakeBounds(dest.X, dest.Y, lines.Width, lines.Height);
    const TRect written = IntersectRect(wanted, {0, 0, target.Width(), target.Height()});
    if (IsRectEmpty(written)) return 0;
    const int32_t skipX = written.Left - dest.X;
    const size_t count = static_cast<size_t>(RectWidth(written));
    for (int32_t y = written.Top; y < written.Bottom; ++y)
        colours.MapLine(target.ScanLine(y) + written.Left, lines.Top + (y - dest.Y) * lines.LineStep + skipX, count,
                        transparent);
    target.Blitted(written);
    return RectHeight(written);
}
