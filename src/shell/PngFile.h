#pragma once
// The program's own pictures (icon, cursors, buttons, the about picture) are
// PNG files. Read as PNG outright: left to guess, Qt first asks every image
// plugin whether it wants the file, which loads them all (and the libraries
// behind them) at start-up.

#include <QImage>
#include <QString>

// The picture, or a null image when the file is missing or not a PNG.
QImage ReadPng(const QString& path);
