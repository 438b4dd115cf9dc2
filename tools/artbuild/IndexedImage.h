#pragma once
// An 8-bit picture whose pixels are palette indices, with an optional transparent index.

#include <cstdint>
#include <string>
#include <vector>

class QImage;
class Palette;

struct IndexedImage {
    std::string Name;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
    int Transparent = -1; // -1: opaque

    IndexedImage() = default;
    IndexedImage(std::string name, int width, int height, std::uint8_t fill = 0);

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    std::uint8_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
    void Set(int x, int y, std::uint8_t v) { Pixels[static_cast<std::size_t>(y) * Width + x] = v; }

    // The rectangle (x, y, w, h) of this image as a new image.
    IndexedImage Crop(const std::string& name, int x, int y, int w, int h) const;
    // Copies source onto this image at (x, y); pixels of source's transparent index are skipped
    // when skipTransparent is set.
    void Paste(const IndexedImage& source, int x, int y, bool skipTransparent = false);
    void FillRect(int x, int y, int w, int h, std::uint8_t v);
    // Every pixel of index from becomes to.
    void Replace(std::uint8_t from, std::uint8_t to);

    // A Format_Indexed8 image whose pixel values are the indices, with the palette as colour table.
    QImage ToQImage(const Palette& palette) const;
};
