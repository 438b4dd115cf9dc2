// Showing a surface: each segment band is blitted on its own, the bottom
// band first, as the bands lie in memory.

#include "foundation/KelException.h"
#include "image/BandBlit.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

int TZQ5ImageData::Display(DisplayTarget& target, TPoint dest, const TRect& rect) {
    if (Segments.empty()) return 0;
    return BlitBands(target, dest, rect, ColoursFor(target));
}

LineColours TZQ5ImageData::ColoursFor(const DisplayTarget& target) {
    if (!DisplayHeader) throw ZQ5Exception("PBMInfo not initialized for Display");
    DisplayHeader->Width = Width;
    return LineColours(MakeColourMap(*DisplayHeader, target.SelectedPalette()));
}

int TZQ5ImageData::BlitBands(DisplayTarget& target, TPoint dest, const TRect& rect, const LineColours& colours) {
    const int transparent = TransparentOrNone();
    int lines = 0;
    for (unsigned k = 0; k < Segments.size(); ++k) {
        const int32_t bandBottom = Height - LinesPerBand * static_cast<int32_t>(k);
        const int32_t bandLines = std::min<int32_t>(LinesPerBand, bandBottom);
        const TRect band{0, bandBottom - bandLines, Width, bandBottom};
        const TRect shown = IntersectRect(rect, band);
        if (IsRectEmpty(shown)) continue;
        DisplayHeader->Height = bandLines;
        DisplayHeader->ImageSize = static_cast<uint32_t>(Stride) * static_cast<uint32_t>(bandLines);
        // Placed by its offset within rect, so that a rect reaching outside
        // the surface still lands each band where it belongs.
        const TPoint at{dest.X + shown.Left - rect.Left, dest.Y + shown.Top - rect.Top};
        try {
            const BandLines block{LineBase(shown.Top) + shown.Left, -static_cast<ptrdiff_t>(Stride),
                                  RectWidth(shown), RectHeight(shown)};
            lines += BlitBand(target, at, block, colours, transparent);
        } catch (...) {
            UnlockLines(shown.Top, shown.Bottom);
            throw;
        }
        UnlockLines(shown.Top, shown.Bottom);
    }
    return lines;
}

void TZQ5ImageData::DisplayDamage(DisplayTarget& target, TPoint origin) {
    if (Damage.IsEmpty() || Segments.empty()) {
        ClearDamage();
        return;
    }
    // One colour map for every rectangle: the palette stays while they are shown.
    const LineColours colours = ColoursFor(target);
    for (TDamageNode* node : Damage)
        BlitBands(target, PtAdd(origin, node->Rect.TopLeft()), node->Rect, colours);
    ClearDamage();
}
