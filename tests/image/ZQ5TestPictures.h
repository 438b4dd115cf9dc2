#pragma once
// Pictures for the codec and library tests: raw stride-padded lines, bottom
// line first, as the encoder takes them, and helpers that encode, store and
// read them back.

#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zq5test {

// The pixel of stored line s (0 = bottom) at column x.
using PixelFunction = std::function<uint8_t(unsigned x, unsigned s)>;

struct RawPicture {
    uint16_t Width = 0;
    uint16_t Height = 0;
    std::vector<uint8_t> Lines; // stride-padded, padding zero
};

inline RawPicture MakePicture(uint16_t w, uint16_t h, const PixelFunction& pixel) {
    RawPicture picture{w, h, std::vector<uint8_t>(ImageBytes(w, h), 0)};
    for (unsigned s = 0; s < h; ++s)
        for (unsigned x = 0; x < w; ++x)
            picture.Lines[size_t{s} * Stride(w) + x] = pixel(x, s);
    return picture;
}

inline RawPicture Noise(uint16_t w, uint16_t h, unsigned seed, unsigned colours = 256) {
    std::mt19937 random(seed);
    return MakePicture(w, h, [&](unsigned, unsigned) { return static_cast<uint8_t>(random() % colours); });
}

// Line art: flat regions in a few colours crossed by one-pixel outlines.
inline RawPicture LineArt(uint16_t w, uint16_t h, unsigned seed) {
    std::mt19937 random(seed);
    struct Circle {
        int X, Y, R;
        uint8_t Fill;
    };
    std::vector<Circle> circles;
    for (int i = 0; i < 12; ++i)
        circles.push_back({static_cast<int>(random() % w), static_cast<int>(random() % h),
                           static_cast<int>(8 + random() % (w / 4 + 1)),
                           static_cast<uint8_t>(41 + random() % 170)});
    return MakePicture(w, h, [&](unsigned x, unsigned s) -> uint8_t {
        uint8_t colour = 217;
        for (const Circle& c : circles) {
            int dx = static_cast<int>(x) - c.X, dy = static_cast<int>(s) - c.Y;
            int d = dx * dx + dy * dy;
            if (d <= c.R * c.R) colour = d >= (c.R - 1) * (c.R - 1) ? 40 : c.Fill;
        }
        return colour;
    });
}

// The image's pixels as stride-padded lines, all segments in order.
inline std::vector<uint8_t> PixelsOf(TZQ5Image& image) {
    std::vector<uint8_t> pixels;
    for (auto& segment : image.Segments) {
        const uint8_t* data = segment->Lock();
        pixels.insert(pixels.end(), data, data + SegmentBytes(image.Width(), image.Height(), segment->Index));
        segment->Unlock();
    }
    return pixels;
}

inline std::unique_ptr<TZQ5Image> Encode(const RawPicture& picture, const std::string& name = "pic") {
    MemoryStream source(picture.Lines);
    auto image = std::make_unique<TZQ5Image>();
    image->Init(name, &source, picture.Width, picture.Height);
    return image;
}

// An image read back from a stream holding just this record, decoded.
struct StoredImage {
    MemoryStream Stream;
    TZQ5Image Image;
};

inline std::unique_ptr<StoredImage> ReadBack(const std::vector<uint8_t>& record, bool decode = true) {
    auto stored = std::make_unique<StoredImage>();
    stored->Stream.Data() = record;
    stored->Image.Read(stored->Stream);
    if (decode) stored->Image.DecodeAll();
    return stored;
}

} // namespace zq5test
