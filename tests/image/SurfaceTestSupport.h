#pragma once
// Surfaces over in-memory images for the surface tests, pictures written as
// rows of characters, and a small library file built on the fly.

#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "support/TestFiles.h"

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

// One record for a library file: raw lines made from value(x, y).
struct TestImageSpec {
    std::string Name;
    uint16_t Width;
    uint16_t Height;
    std::function<uint8_t(int32_t, int32_t)> Value;
    int TransparentIndex = -1;
};

inline std::vector<uint8_t> TestRecord(const TestImageSpec& spec) {
    const uint16_t stride = Stride(spec.Width);
    std::vector<uint8_t> raw(static_cast<size_t>(stride) * spec.Height, 0);
    for (int32_t y = 0; y < spec.Height; ++y)
        for (int32_t x = 0; x < spec.Width; ++x)
            raw[static_cast<size_t>(spec.Height - 1 - y) * stride + x] = spec.Value(x, y);
    MemoryStream source(raw);
    TZQ5Image image;
    image.Init(spec.Name, &source, spec.Width, spec.Height);
    std::vector<uint8_t> record = image.RecordBytes();
    if (spec.TransparentIndex >= 0) {
        record[14] = static_cast<uint8_t>(spec.TransparentIndex);
        record[15] = 1;
    }
    return record;
}

// A library file in a temporary folder, loaded read-only.
class TestLibrary {
public:
    explicit TestLibrary(const std::vector<TestImageSpec>& images) {
        std::array<uint8_t, ZQ5PaletteSize> palette{};
        for (size_t i = 0; i < 256; ++i) {
            palette[i * 4 + 0] = static_cast<uint8_t>(i);       // blue
            palette[i * 4 + 1] = static_cast<uint8_t>(i / 2);   // green
            palette[i * 4 + 2] = static_cast<uint8_t>(255 - i); // red
        }
        std::vector<std::vector<uint8_t>> records;
        for (const TestImageSpec& spec : images)
            records.push_back(TestRecord(spec));
        MemoryStream out;
        WriteZQ5Library(out, palette, records);
        out.SaveToFile(Folder.File("test.zq5"));
        Library.Load(Folder.File("test.zq5"), true);
    }

    TempDir Folder;
    TZQ5Library Library;
};
