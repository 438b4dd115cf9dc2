#include "image/BandBlit.h"

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

int BlitBand(DisplayTarget& target, TPoint dest, const BandLines& lines, const ColourMap& colours,
             int transparent) {
    const TRect wanted = MakeBounds(dest.X, dest.Y, lines.Width, lines.Height);
    const TRect written = IntersectRect(wanted, {0, 0, target.Width(), target.Height()});
    if (IsRectEmpty(written)) return 0;
    const int32_t skipX = written.Left - dest.X;
    for (int32_t y = written.Top; y < written.Bottom; ++y) {
        const uint8_t* from = lines.Top + (y - dest.Y) * lines.LineStep + skipX;
        uint32_t* to = target.ScanLine(y) + written.Left;
        const int32_t count = RectWidth(written);
        if (transparent < 0) {
            for (int32_t x = 0; x < count; ++x)
                to[x] = colours[from[x]];
        } else {
            for (int32_t x = 0; x < count; ++x)
                if (from[x] != transparent) to[x] = colours[from[x]];
        }
    }
    target.Blitted(written);
    return RectHeight(written);
}
