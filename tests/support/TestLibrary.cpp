#include "support/TestLibrary.h"

#include "foundation/ByteStream.h"
#include "image/ZQ5Image.h"

namespace {
std::string WriteLibraryFile(const std::string& path, const std::array<uint8_t, ZQ5PaletteSize>& palette,
                             const std::vector<std::vector<uint8_t>>& records) {
    MemoryStream out;
    WriteZQ5Library(out, palette, records);
    out.SaveToFile(path);
    return path;
}
} // namespace

TestImage SolidImage(const std::string& name, uint16_t width, uint16_t height, uint8_t colour) {
    return {name, width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, colour)};
}

TestImage PatternImage(const std::string& name, uint16_t width, uint16_t height, uint8_t base) {
    TestImage image{name, width, height, {}};
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
        image.Pixels.push_back(static_cast<uint8_t>(i + base));
    return image;
}

std::vector<uint8_t> TestRecord(const TestImageSpec& spec) {
    // Stored form: lines padded to the stride, the bottom line first.
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

std::string WriteTestLibrary(const TempDir& dir, const std::vector<TestImage>& images,
                             const std::string& fileName) {
    std::vector<std::vector<uint8_t>> records;
    for (const TestImage& image : images) {
        auto value = [&image](int32_t x, int32_t y) {
            return image.Pixels[static_cast<size_t>(y) * image.Width + x];
        };
        records.push_back(TestRecord({image.Name, image.Width, image.Height, value}));
    }
    std::array<uint8_t, ZQ5PaletteSize> grey{};
    for (size_t i = 0; i < 256; ++i)
        grey[i * 4] = grey[i * 4 + 1] = grey[i * 4 + 2] = static_cast<uint8_t>(i);
    return WriteLibraryFile(dir.File(fileName), grey, records);
}

std::array<uint8_t, ZQ5PaletteSize> DistinctTestPalette() {
    std::array<uint8_t, ZQ5PaletteSize> palette{};
    for (size_t i = 0; i < 256; ++i) {
        palette[i * 4 + 0] = static_cast<uint8_t>(i);       // blue
        palette[i * 4 + 1] = static_cast<uint8_t>(i / 2);   // green
        palette[i * 4 + 2] = static_cast<uint8_t>(255 - i); // red
    }
    return palette;
}

TestLibrary::TestLibrary(const std::vector<TestImageSpec>& images) {
    std::vector<std::vector<uint8_t>> records;
    for (const TestImageSpec& spec : images)
        records.push_back(TestRecord(spec));
    Library.Load(WriteLibraryFile(Folder.File("test.zq5"), DistinctTestPalette(), records), true);
}
