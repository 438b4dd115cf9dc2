#include "support/TestLibrary.h"

#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5Library.h"
#include "support/TestFiles.h"

#include <cstring>

TestImage SolidImage(const std::string& name, uint16_t width, uint16_t height, uint8_t colour) {
    return {name, width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, colour)};
}

TestImage PatternImage(const std::string& name, uint16_t width, uint16_t height, uint8_t base) {
    TestImage image{name, width, height, {}};
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
        image.Pixels.push_back(static_cast<uint8_t>(i + base));
    return image;
}

namespace {
// Stored form: lines padded to the stride, the bottom line first.
std::vector<uint8_t> StoredLines(const TestImage& image) {
    uint16_t stride = Stride(image.Width);
    std::vector<uint8_t> lines(static_cast<size_t>(stride) * image.Height, 0);
    for (uint16_t y = 0; y < image.Height; ++y) {
        const uint8_t* from = image.Pixels.data() + static_cast<size_t>(y) * image.Width;
        std::memcpy(lines.data() + static_cast<size_t>(image.Height - 1 - y) * stride, from, image.Width);
    }
    return lines;
}
} // namespace

std::string WriteTestLibrary(const TempDir& dir, const std::vector<TestImage>& images,
                             const std::string& fileName) {
    std::vector<std::vector<uint8_t>> records;
    for (const TestImage& image : images) {
        MemoryStream source(StoredLines(image));
        TZQ5Image record;
        record.Init(image.Name, &source, image.Width, image.Height);
        records.push_back(record.RecordBytes());
    }
    std::array<uint8_t, ZQ5PaletteSize> palette{};
    for (size_t i = 0; i < 256; ++i)
        palette[i * 4] = palette[i * 4 + 1] = palette[i * 4 + 2] = static_cast<uint8_t>(i);
    MemoryStream out;
    WriteZQ5Library(out, palette, records);
    std::string path = dir.File(fileName);
    out.SaveToFile(path);
    return path;
}
