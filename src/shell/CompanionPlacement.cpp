#include "shell/CompanionPlacement.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {
int64_t Area(const TRect& r) {
    return IsRectEmpty(r) ? 0 : int64_t{RectWidth(r)} * RectHeight(r);
}

// Moves a rectangle of the given size at point into the screen, as far as it fits.
TPoint KeepOnScreen(const TRect& screen, TPoint point, int width, int height) {
    int x = std::max(screen.Left, std::min(point.X, screen.Right - width));
    int y = std::max(screen.Top, std::min(point.Y, screen.Bottom - height));
    return {x, y};
}
} // namespace

TPoint PlaceCompanion(const TRect& screen, const TRect& mainWindow, const TRect& playArea, int width, int height) {
    const int top = mainWindow.Top;
    if (mainWindow.Right + CompanionGap + width <= screen.Right)
        return KeepOnScreen(screen, {mainWindow.Right + CompanionGap, top}, width, height);
    if (mainWindow.Left - CompanionGap - width >= screen.Left)
        return KeepOnScreen(screen, {mainWindow.Left - CompanionGap - width, top}, width, height);

    // No room beside: the candidates hug the play area's edges and the screen's
    // corners; the first that covers the least of the play area wins.
    const std::array<TPoint, 8> candidates = {
        TPoint{playArea.Right, playArea.Top},          TPoint{playArea.Left - width, playArea.Top},
        TPoint{playArea.Right - width, playArea.Bottom}, TPoint{playArea.Right - width, playArea.Top - height},
        TPoint{screen.Right - width, screen.Top},      TPoint{screen.Left, screen.Top},
        TPoint{screen.Right - width, screen.Bottom - height}, TPoint{screen.Left, screen.Bottom - height},
    };
    TPoint best = KeepOnScreen(screen, candidates[0], width, height);
    int64_t bestCover = Area(IntersectRect(MakeBounds(best.X, best.Y, width, height), playArea));
    for (TPoint candidate : candidates) {
        TPoint placed = KeepOnScreen(screen, candidate, width, height);
        int64_t cover = Area(IntersectRect(MakeBounds(placed.X, placed.Y, width, height), playArea));
        if (cover < bestCover) {
            best = placed;
            bestCover = cover;
        }
    }
    return best;
}
