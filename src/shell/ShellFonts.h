#pragma once
// The fonts of the windows: the metric-compatible Liberation faces where
// installed, else the desktop's sans or serif face.

#include <QFont>

enum class FontFace { Sans, Serif };

// A font of that many pixels in height, as the window resources give them.
QFont ShellFont(FontFace face, int pixelHeight, bool bold = false);
