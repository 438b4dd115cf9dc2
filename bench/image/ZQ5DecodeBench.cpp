// Decoding a library of line-art pictures, against decoding the same pixels
// from PNG files with QImage, measured in the same run.
//
// Prints the throughput of both, their ratio, and the library's size beside the
// PNG files' total.

#include "BenchTiming.h"
#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5Library.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {
struct Picture {
    uint16_t Width;
    uint16_t Height;
    std::vector<uint8_t> Lines; // stride-padded, bottom line first
};

// A colouring-book picture: a flat background, filled shapes with one-pixel
// outlines in the outline index, a ground line and some stripes.
Picture LineArt(uint16_t w, uint16_t h, unsigned seed) {
    std::mt19937 random(seed);
    struct Shape {
        int X, Y, A, B;
        bool Box;
        uint8_t Fill;
    };
    std::vector<Shape> shapes;
    for (int i = 0; i < 14; ++i)
        shapes.push_back({static_cast<int>(random() % w), static_cast<int>(random() % h),
                          static_cast<int>(10 + random() % (w / 5)),
                          static_cast<int>(10 + random() % (h / 4)), random() % 3 == 0,
                          static_cast<uint8_t>(41 + random() % 170)});
    Picture picture{w, h, std::vector<uint8_t>(ImageBytes(w, h), 0)};
    for (int s = 0; s < h; ++s) {
        int y = h - 1 - s;
        for (int x = 0; x < w; ++x) {
            uint8_t colour = y > h * 2 / 3 ? 208 : 217;
            if (y == h * 2 / 3) colour = 40;
            for (const Shape& shape : shapes) {
                int dx = x - shape.X, dy = y - shape.Y;
                if (shape.Box) {
                    if (std::abs(dx) <= shape.A && std::abs(dy) <= shape.B)
                        colour = std::abs(dx) == shape.A || std::abs(dy) == shape.B ? 40 : shape.Fill;
                } else {
                    long long inside = 1LL * dx * dx * shape.B * shape.B + 1LL * dy * dy * shape.A * shape.A;
                    long long edge = 1LL * shape.A * shape.A * shape.B * shape.B;
                    long long inner = 1LL * (shape.A - 1) * (shape.A - 1) * (shape.B - 1) * (shape.B - 1);
                    if (inside <= edge)
                        colour = inside * (shape.A - 1) * (shape.B - 1) >= inner * shape.A * shape.B
                                     ? 40
                                     : shape.Fill;
                }
            }
            picture.Lines[static_cast<size_t>(s) * Stride(w) + x] = colour;
        }
    }
    return picture;
}

QByteArray ToPng(const Picture& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.append(qRgb(i, 255 - i, i * 7 % 256));
    image.setColorTable(table);
    for (int y = 0; y < picture.Height; ++y)
        std::memcpy(image.scanLine(y),
                    picture.Lines.data() +
                        static_cast<size_t>(picture.Height - 1 - y) * Stride(picture.Width),
                    picture.Width);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

int main() {
    std::vector<Picture> pictures;
    for (unsigned i = 0; i < 16; ++i)
        pictures.push_back(LineArt(376, 225, i));
    for (unsigned i = 0; i < 8; ++i)
        pictures.push_back(LineArt(512, 320, 100 + i));

    std::vector<std::vector<uint8_t>> records;
    std::vector<QByteArray> pngs;
    size_t pngBytes = 0;
    double pixels = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        MemoryStream source(pictures[i].Lines);
        TZQ5Image image;
        image.Init("pic" + std::to_string(i), &source, pictures[i].Width, pictures[i].Height);
        records.push_back(image.RecordBytes());
        pngs.push_back(ToPng(pictures[i]));
        pngBytes += static_cast<size_t>(pngs.back().size());
        pixels += double(pictures[i].Width) * pictures[i].Height;
    }
    MemoryStream library;
    WriteZQ5Library(library, {}, records);

    unsigned checksum = 0;
    const double zq5 = 1e-9 * BestNanos([&](int) {
                           int64_t offset = ZQ5FirstRecordOffset;
                           for (const auto& record : records) {
                               library.Seek(offset);
                               TZQ5Image image;
                               image.Read(library);
                               image.DecodeAll();
                               checksum += image.Segments[0]->Lock()[0];
                               offset += static_cast<int64_t>(record.size());
                           }
                       });
    const double png = 1e-9 * BestNanos([&](int) {
                           for (const QByteArray& bytes : pngs) {
                               QImage image;
                               image.loadFromData(bytes, "PNG");
                               checksum += image.constScanLine(0)[0];
                           }
                       });

    std::printf("pictures: %zu (16 of 376x225, 8 of 512x320), %.1f Mpixel per round\n", pictures.size(),
                pixels / 1e6);
    std::printf("zq5 decode: %8.3f ms per round, %7.1f Mpixel/s\n", zq5 * 1e3, pixels / zq5 / 1e6);
    std::printf("png decode: %8.3f ms per round, %7.1f Mpixel/s\n", png * 1e3, pixels / png / 1e6);
    std::printf("zq5 is %.2fx as fast as png\n", png / zq5);
    std::printf("library: %zu bytes (records %zu), png files: %zu bytes, ratio %.2f\n",
                static_cast<size_t>(library.Size()),
                static_cast<size_t>(library.Size() - ZQ5FirstRecordOffset), pngBytes,
                double(library.Size()) / double(pngBytes));
    std::printf("(checksum %u)\n", checksum);
    return 0;
}
