#pragma once
// The command-line export: the four pictures of the automatic saved game as
// PNG files (376 x 225 times the scale), without opening a window.

#include "shell/PictureImage.h"

#include <string>

class Platform;
class MainWindowServices;

// Writes picture1.png .. picture4.png into folder, in the same form and
// through the same writer as the save dialog; returns the number of
// pictures written. Errors (missing files, a bad library, an unwritable
// folder) pass on as exceptions naming what failed.
int ExportPictures(Platform& platform, MainWindowServices& services, const std::string& folder, int scale,
                   PictureForm form = PictureForm::Coloured);
