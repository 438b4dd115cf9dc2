#pragma once
// Image library files built in a test from images given pixel by pixel.

#include "image/ZQ5Library.h"
#include "support/TestFiles.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TestImage {
    std::string Name;
    uint16_t Width = 0;
    uint16_t Height = 0;
    std::vector<uint8_t> Pixels; // Width x Height indices, top line first
};

// An image of one colour.
TestImage SolidImage(const std::string& name, uint16_t width, uint16_t height, uint8_t colour);
// An image whose pixel (x, y) is (x + y * width) mod 256 plus base, so that
// any misplaced copy shows.
TestImage PatternImage(const std::string& name, uint16_t width, uint16_t height, uint8_t base = 0);

// Writes a library file of these images (palette entry i = grey level i) into
// dir and returns its path.
std::string WriteTestLibrary(const TempDir& dir, const std::vector<TestImage>& images,
                             const std::string& fileName = "test.zq5");

// One record for a library file: pixel (x, y) is value(x, y); a transparent
// index of 0..255 is stored with the transparency flag on.
struct TestImageSpec {
    std::string Name;
    uint16_t Width;
    uint16_t Height;
    std::function<uint8_t(int32_t, int32_t)> Value;
    int TransparentIndex = -1;
};
std::vector<uint8_t> TestRecord(const TestImageSpec& spec);

// A palette whose entries all differ in every channel, so that a wrong index
// shows as a wrong colour.
std::array<uint8_t, ZQ5PaletteSize> DistinctTestPalette();

// A library file of these images in a temporary folder, loaded read-only.
class TestLibrary {
public:
    explicit TestLibrary(const std::vector<TestImageSpec>& images);

    TempDir Folder;
    TZQ5Library Library;
};
