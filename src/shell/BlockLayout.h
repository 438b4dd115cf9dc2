#pragma once
// The arithmetic of the main window's layout: the positions of its parts at
// 96 dots per inch, centring the block of play area and thumbnails in the
// client area, the whole-number scale at which the block is shown, and the
// mapping of window pixels back to the block's own pixels.

#include "foundation/Geometry.h"

#include <array>

namespace layout {
constexpr TRect Box(int x, int y, int w, int h) {
    return {x, y, x + w, y + h};
}
constexpr int ClientWidth = 538;
constexpr int ClientHeight = 433;
constexpr TRect Frame = Box(11, 6, 514, 322);
// Wide enough for "V1.7.5.0 (2011-06-21)" in the 12-pixel sans (the
// original 91 cut it off), and clear of the undo button.
constexpr TRect Version = Box(87, 329, 136, 15);
constexpr TRect HelpPrompt = Box(391, 329, 134, 15);
constexpr TRect About = Box(12, 328, 69, 17);
// Undo and redo, side by side under the middle of the play area.
constexpr TRect Undo = Box(226, 328, 40, 17);
constexpr TRect Redo = Box(270, 328, 40, 17);
// All four as wide as their 129-pixel frame, so that the fourth shows its right edge.
constexpr std::array<TRect, 4> Thumbs = {Box(7, 346, 129, 79), Box(138, 346, 129, 79), Box(269, 346, 129, 79),
                                         Box(400, 346, 129, 79)};
constexpr int FrameBorder = 1;
constexpr int PlayWidth = 512;
constexpr int PlayHeight = 320;
constexpr int BevelMargin = 18;
} // namespace layout

// Truncates toward zero, as the window arithmetic does for negative values.
constexpr int Half(int value) {
    return value / 2;
}

// The offset that centres the frame horizontally and the block from the top
// of the frame to the bottom of the thumbnails vertically. thumbsBottom is the
// bottom edge of the first thumbnail.
TPoint CentringOffset(int clientWidth, int clientHeight, const TRect& frame, int thumbsBottom);

// The raised frame 18 pixels (times scale) around frame and thumbnails.
TRect BevelAround(const TRect& frame, int thumbsBottom, int scale);

// The size of everything that must fit on screen at scale 1: frame and
// thumbnails with the bevel around them.
constexpr int BlockWidth = layout::Frame.Right - layout::Frame.Left + 2 * layout::BevelMargin;
constexpr int BlockHeight = layout::Thumbs[0].Bottom - layout::Frame.Top + 2 * layout::BevelMargin;

// The largest whole scale at which the block fits the client size, at least
// 1; a forced scale above 0 wins.
int ChooseScale(int clientWidth, int clientHeight, int forcedScale);

struct ClientSize {
    int Width;
    int Height;
};
// The client size the window opens at: the whole block (bevel included) at
// the forced scale, or at the largest whole scale that fits the available
// area (scale 1 when nothing fits).
ClientSize OpeningSize(int availableWidth, int availableHeight, int forcedScale);

// Scales a rectangle of block pixels to window pixels.
TRect ScaleRect(const TRect& rect, int scale);
// The block pixels a window rectangle touches (rounded outward).
TRect UnscaleRect(const TRect& rect, int scale);
// The block pixel under a window pixel (rounded toward minus infinity, so
// that points left of or above a scaled widget stay outside it).
TPoint UnscalePoint(TPoint point, int scale);
