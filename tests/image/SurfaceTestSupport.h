#pragma once
// Surfaces over in-memory images for the surface tests, pictures written as
// rows of characters; library files come from support/TestLibrary.h.

#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "support/TestFiles.h"
#include "support/TestLibrary.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// An image of its own with a surface over it; the surface goes first.
class TestSurface {
public:
    TestSurface(uint16_t width, uint16_t height, bool withHeader = true) {
        InitDisplayHeader(Header);
        Image->Init("test", nullptr, width, height);
        Surface = Image->CreateSurface(withHeader ? &Header : nullptr);
    }
    ~TestSurface() {
        if (Surface) Image->ReleaseSurface(std::move(Surface));
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    TZQ5ImageData& operator*() { return *Surface; }
    TZQ5ImageData* operator->() { return Surface.get(); }
    TZQ5ImageData* Get() { return Surface.get(); }
    void Destroy() { Image->ReleaseSurface(std::move(Surface)); }

    TDisplayHeader Header;
    std::unique_ptr<TZQ5Image> Image = std::make_unique<TZQ5Image>();
    std::unique_ptr<TZQ5ImageData> Surface;
};

// Every pixel of the surface, line by line from the top, read through StartLine.
inline std::vector<uint8_t> Pixels(TZQ5ImageData& surface) {
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < surface.Height; ++y)
        for (int32_t x = 0; x < surface.Width; ++x)
            pixels.push_back(surface.GetPixel({x, y}));
    return pixels;
}

inline void SetPixels(TZQ5ImageData& surface, const std::function<uint8_t(int32_t, int32_t)>& value) {
    for (int32_t y = 0; y < surface.Height; ++y) {
        uint8_t* line = surface.StartLine(0, y);
        for (int32_t x = 0; x < surface.Width; ++x)
            line[x] = value(x, y);
        surface.UnlockSegment(0, y);
    }
}

// Rows of characters; each character's code is the pixel value.
inline void Paint(TZQ5ImageData& surface, const std::vector<std::string>& rows) {
    SetPixels(surface, [&](int32_t x, int32_t y) { return static_cast<uint8_t>(rows[y][x]); });
}

inline std::vector<std::string> Picture(TZQ5ImageData& surface) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < surface.Height; ++y) {
        std::string row;
        for (int32_t x = 0; x < surface.Width; ++x)
            row += static_cast<char>(surface.GetPixel({x, y}));
        rows.push_back(row);
    }
    return rows;
}
