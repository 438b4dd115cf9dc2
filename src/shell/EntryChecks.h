#pragma once
// The checks of the entry sequence before any window exists.

#include <string>

class Platform;

// Depth of the display in bits per pixel (times planes): 1 refuses with the
// monochrome message, 4 asks whether to go on; every other depth goes on.
bool DisplayIsSuitable(Platform& platform, int bitsPerPixel);

// The library beside the program, then the script and the region map in the
// data folder (".dat" or ".txt"); the first missing file is named in an
// error box and the check fails.
bool RequiredFilesPresent(Platform& platform, const std::string& programPath, const std::string& datPath);
