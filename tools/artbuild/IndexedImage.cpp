#include "IndexedImage.h"

#include "Palette.h"
#include "common/IndexedPng.h"

#include <QImage>

IndexedImage::IndexedImage(std::string name, int width, int height, std::uint8_t fill)
    : Name(std::move(name)), Width(width), Height(height),
      Pixels(static_cast<std::size_t>(width) * height, fill) {}

IndexedImage IndexedImage::Crop(const std::string& name, int x, int y, int w, int h) const {
    IndexedImage out(name, w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (Contains(x + i, y + j)) out.Set(i, j, At(x + i, y + j));
    out.Transparent = Transparent;
    return out;
}

void IndexedImage::Paste(const IndexedImage& source, int x, int y, bool skipTransparent) {
    for (int j = 0; j < source.Height; ++j)
        for (int i = 0; i < source.Width; ++i) {
            const std::uint8_t v = source.At(i, j);
            if (skipTransparent && v == source.Transparent) continue;
            if (Contains(x + i, y + j)) Set(x + i, y + j, v);
        }
}

void IndexedImage::FillRect(int x, int y, int w, int h, std::uint8_t v) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (Contains(i, j)) Set(i, j, v);
}

void IndexedImage::Replace(std::uint8_t from, std::uint8_t to) {
    for (auto& p : Pixels)
        if (p == from) p = to;
}

QImage IndexedImage::ToQImage(const Palette& palette) const {
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(palette.Colour(i));
    return ToIndexedImage(Width, Height, Pixels, table);
}
