#pragma once
// Pictures on paper: one page per picture, each filling the printable area
// at its own aspect ratio, with crisp pixels. Part of the print module.

#include <QImage>
#include <QRect>

#include <vector>

class QPrinter;

// The largest rectangle of picture's aspect ratio inside area, centred in it.
QRect PictureFitRect(QSize picture, const QRect& area);

// Prints pages onto printer, one page each. A printer that cannot start
// (an unwritable file, a vanished printer) raises std::runtime_error.
void PrintPictures(QPrinter& printer, const std::vector<QImage>& pages);

// Sets up printer for pictures: landscape, as the pictures are wider than tall.
void PreparePrinter(QPrinter& printer, const QString& documentName);
