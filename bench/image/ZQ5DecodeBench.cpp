// Decoding image libraries against decoding the same pixels from PNG files
// with libpng (to palette indices and a colour map, the same work), round by
// round in the same run: a library of generated line-art pictures, and the
// shipped library of the build tree when it has been built.
//
// Prints the throughput of both, the ratio (median and the lowest..highest
// round), and each library's size beside the PNG files' total.
//
// Usage: zq5_decode_bench [BIN_DIR]

#include "BenchTiming.h"
#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <png.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
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

// pixel(x, y) gives the index of a pixel, top line first.
template <class PixelAt> QByteArray ToPng(int width, int height, PixelAt pixel) {
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.append(qRgb(i, 255 - i, i * 7 % 256));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = pixel(x, y);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray ToPng(const Picture& picture) {
    return ToPng(picture.Width, picture.Height, [&](int x, int y) {
        return picture.Lines[static_cast<size_t>(picture.Height - 1 - y) * Stride(picture.Width) + x];
    });
}

// Decodes to palette indices and the colour map; the first index, or -1.
int DecodePng(const QByteArray& bytes, std::vector<uint8_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(), static_cast<size_t>(bytes.size())))
        return -1;
    image.format = PNG_FORMAT_RGB_COLORMAP;
    pixels.resize(PNG_IMAGE_SIZE(image));
    std::array<uint8_t, 256 * 3> colours{};
    const bool ok = png_image_finish_read(&image, nullptr, pixels.data(), 0, colours.data());
    png_image_free(&image);
    return ok ? pixels[0] : -1;
}

// A library file in memory, with where each record starts and its PNG twin.
struct Corpus {
    std::string Name;
    std::vector<uint8_t> File;
    std::vector<int64_t> Offsets;
    std::vector<QByteArray> Pngs;
    double Pixels = 0;
};

Corpus Generated() {
    std::vector<Picture> pictures;
    for (unsigned i = 0; i < 16; ++i)
        pictures.push_back(LineArt(376, 225, i));
    for (unsigned i = 0; i < 8; ++i)
        pictures.push_back(LineArt(512, 320, 100 + i));
    Corpus corpus{"generated line art (16 of 376x225, 8 of 512x320)", {}, {}, {}, 0};
    std::vector<std::vector<uint8_t>> records;
    int64_t offset = ZQ5FirstRecordOffset;
    for (size_t i = 0; i < pictures.size(); ++i) {
        MemoryStream source(pictures[i].Lines);
        TZQ5Image image;
        image.Init("pic" + std::to_string(i), &source, pictures[i].Width, pictures[i].Height);
        records.push_back(image.RecordBytes());
        corpus.Offsets.push_back(offset);
        offset += static_cast<int64_t>(records.back().size());
        corpus.Pngs.push_back(ToPng(pictures[i]));
        corpus.Pixels += double(pictures[i].Width) * pictures[i].Height;
    }
    MemoryStream library;
    WriteZQ5Library(library, {}, records);
    library.Seek(0);
    corpus.File.resize(static_cast<size_t>(library.Size()));
    library.Read(corpus.File.data(), corpus.File.size());
    return corpus;
}

std::optional<Corpus> Shipped(const std::string& fileName) {
    if (!std::filesystem::exists(fileName)) return std::nullopt;
    try {
        TZQ5Library lib;
        lib.Load(fileName, true);
        std::ifstream in(fileName, std::ios::binary);
        Corpus corpus{"the shipped library " + fileName, {std::istreambuf_iterator<char>(in), {}}, {}, {}, 0};
        const std::vector<std::string> names = lib.ImageNames();
        corpus.Name += " (" + std::to_string(names.size()) + " pictures)";
        for (const std::string& name : names) {
            corpus.Offsets.push_back(lib.ImageOffset(name));
            TImageNode* node = lib.GetImage(name);
            TZQ5ImageData* data = lib.GetImageData(node);
            corpus.Pngs.push_back(
                ToPng(data->Width, data->Height, [&](int x, int y) { return data->GetPixel({x, y}); }));
            corpus.Pixels += double(data->Width) * data->Height;
            lib.ReleaseImageData(node);
            lib.ReleaseImage(node);
        }
        return corpus;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the shipped library could not be read: %s\n", e.what());
        return std::nullopt;
    }
}

void Measure(const Corpus& corpus) {
    MemoryStream library(corpus.File);
    std::vector<uint8_t> pixels;
    unsigned checksum = 0;
    const std::vector<std::vector<double>> nanos = RoundNanos({
        [&](int) {
            for (int64_t offset : corpus.Offsets) {
                library.Seek(offset);
                TZQ5Image image;
                image.Read(library);
                image.DecodeAll();
                checksum += image.Segments[0]->Lock()[0];
            }
        },
        [&](int) {
            for (const QByteArray& bytes : corpus.Pngs)
                checksum += static_cast<unsigned>(DecodePng(bytes, pixels));
        },
    });
    size_t pngBytes = 0;
    for (const QByteArray& png : corpus.Pngs)
        pngBytes += static_cast<size_t>(png.size());
    const Spread zq5 = SpreadOf(nanos[0]), png = SpreadOf(nanos[1]), ratio = SpreadOf(RoundRatios(nanos[0], nanos[1]));
    std::printf("%s, %.2f Mpixel per round\n", corpus.Name.c_str(), corpus.Pixels / 1e6);
    std::printf("  zq5 decode:    %8.3f ms per round (%.3f..%.3f), %7.1f Mpixel/s\n", zq5.Median / 1e6,
                zq5.Low / 1e6, zq5.High / 1e6, corpus.Pixels / zq5.Median * 1e3);
    std::printf("  libpng decode: %8.3f ms per round (%.3f..%.3f), %7.1f Mpixel/s\n", png.Median / 1e6,
                png.Low / 1e6, png.High / 1e6, corpus.Pixels / png.Median * 1e3);
    std::printf("  zq5 is %.2fx as fast as libpng (rounds %.2f..%.2f)\n", ratio.Median, ratio.Low, ratio.High);
    std::printf("  library: %zu bytes, the same pictures as PNG files: %zu bytes, ratio %.2f  (checksum %u)\n",
                corpus.File.size(), pngBytes, double(corpus.File.size()) / double(pngBytes), checksum);
}

} // namespace

int main(int argc, char** argv) {
    const std::string binDir = argc > 1 ? argv[1] : VOREL_BIN_DIR;
    std::printf("Decoding, processor time, median (lowest..highest) of 11 rounds, libpng %s\n", PNG_LIBPNG_VER_STRING);
    Measure(Generated());
    if (std::optional<Corpus> shipped = Shipped(binDir + "/vorel.zq5"))
        Measure(*shipped);
    else
        std::printf("(no shipped library in %s: build the data files for the second case)\n", binDir.c_str());
    return 0;
}
