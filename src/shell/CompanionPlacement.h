#pragma once
// Where a companion window (the instructions) opens: beside the main window
// when the screen has room for it there, otherwise at the place on the
// screen that hides the least of the play area. All rectangles are in
// screen pixels.

#include "foundation/Geometry.h"

// The gap left between the main window and a companion beside it.
constexpr int CompanionGap = 8;

// The top-left of a companion of width x height. Beside means right of the
// main window (tried first) or left of it, top edges aligned as far as the
// screen allows.
TPoint PlaceCompanion(const TRect& screen, const TRect& mainWindow, const TRect& playArea, int width, int height);
