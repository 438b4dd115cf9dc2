#pragma once
// 8-bit palettised PNG files, read and written by their indices: the PNG's own
// colour table is ignored when reading, and a given palette is attached when
// writing.

#include "common/PaletteFile.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

struct IndexedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels; // Width per line, top line first
};

// Raises std::runtime_error naming the file when it cannot be read or is not
// an 8-bit palettised (Indexed8) image.
IndexedPicture ReadIndexedPng(const std::string& path);
void WriteIndexedPng(const std::string& path, const IndexedPicture& picture, const PaletteColours& palette);

// An Indexed8 image of width x height indices (width per line, top line first; pixels holds all of
// them) with the given colour table.
QImage ToIndexedImage(int width, int height, const std::vector<uint8_t>& pixels,
                      const QList<QRgb>& colourTable);

// The picture as the image records store it: stride-padded, bottom line first.
std::vector<uint8_t> ToStoredLines(const IndexedPicture& picture);
IndexedPicture FromStoredLines(const std::vector<uint8_t>& lines, int width, int height);
