#include "common/IndexedPng.h"

#include <QImage>
#include <QString>

#include <cstring>
#include <stdexcept>

namespace {
int StoredStride(int width) {
    return (width + 3) & ~3;
}
} // namespace

IndexedPicture ReadIndexedPng(const std::string& path) {
    QImage image;
    if (!image.load(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot read the PNG file");
    if (image.format() != QImage::Format_Indexed8)
        throw std::runtime_error(
            path + ": not an 8-bit palettised PNG (Indexed8); convert it to 256 indexed colours");
    IndexedPicture picture{image.width(), image.height(), {}};
    picture.Pixels.resize(static_cast<size_t>(picture.Width) * picture.Height);
    for (int y = 0; y < picture.Height; ++y)
        std::memcpy(picture.Pixels.data() + static_cast<size_t>(y) * picture.Width, image.constScanLine(y),
                    static_cast<size_t>(picture.Width));
    return picture;
}

QImage ToIndexedImage(int width, int height, const std::vector<uint8_t>& pixels,
                      const QList<QRgb>& colourTable) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(colourTable);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<size_t>(y) * width,
                    static_cast<size_t>(width));
    return image;
}

void WriteIndexedPng(const std::string& path, const IndexedPicture& picture, const PaletteColours& palette) {
    QList<QRgb> table;
    for (const PaletteColour& colour : palette)
        table.append(qRgb(colour.R, colour.G, colour.B));
    if (!ToIndexedImage(picture.Width, picture.Height, picture.Pixels, table)
             .save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot write the PNG file");
}

std::vector<uint8_t> ToStoredLines(const IndexedPicture& picture) {
    int stride = StoredStride(picture.Width);
    std::vector<uint8_t> lines(static_cast<size_t>(stride) * picture.Height, 0);
    for (int y = 0; y < picture.Height; ++y)
        std::memcpy(lines.data() + static_cast<size_t>(picture.Height - 1 - y) * stride,
                    picture.Pixels.data() + static_cast<size_t>(y) * picture.Width,
                    static_cast<size_t>(picture.Width));
    return lines;
}

IndexedPicture FromStoredLines(const std::vector<uint8_t>& lines, int width, int height) {
    int stride = StoredStride(width);
    IndexedPicture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.Pixels.data() + static_cast<size_t>(y) * width,
                    lines.data() + static_cast<size_t>(height - 1 - y) * stride, static_cast<size_t>(width));
    return picture;
}
