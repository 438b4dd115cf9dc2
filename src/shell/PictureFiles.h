#pragma once
// Pictures as PNG files: the one writer that the save dialog and the
// command-line export share, and the names the dialog proposes.

#include "shell/PictureImage.h"

#include <QDate>
#include <QImage>
#include <QString>

// Writes image at a whole scale (every pixel a scale x scale block) as a PNG
// file at path. A failure raises KelException naming the file; a file of the
// same name is replaced only when the new one is complete.
void SavePicturePng(const QImage& image, int scale, const QString& path);

// "picture2-2026-12-08.png" for picture 2 on that day,
// "picture2-colouring-page-2026-12-08.png" for its colouring page.
QString DefaultPictureFileName(int pictureNumber, PictureForm form, const QDate& day);
// The user's Pictures folder; the home folder when the desktop has none.
QString DefaultPictureFolder();
