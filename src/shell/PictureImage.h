#pragma once
// A picture as an image for paper or a file: as the child coloured it, or as
// an empty colouring page (the background's line art and the objects'
// outlines, every region blank on white paper). Both come from a copy of the
// picture, so the picture on the screen keeps its selection, its target and
// its colours, and the selection outline never shows on paper.

#include "platform/DisplayTarget.h"

#include <QImage>

class TVorelDrawing;
class TWorld;

enum class PictureForm { Coloured, ColouringPage };

// The picture at its own size (376 x 225), 32-bit RGB. Needs the program's
// image library and region map, as the picture itself does; their errors pass on.
QImage PictureImage(const TVorelDrawing& picture, PictureForm form, const RgbPalette& palette);

// Picture number 1..4 of world (its colouring room "VOREL<number>"); a
// world without that room raises KelException naming it.
QImage PictureOfWorld(TWorld& world, int number, PictureForm form);
