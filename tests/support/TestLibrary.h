#pragma once
// Image library files built in a test from images given pixel by pixel.

#include <cstdint>
#include <string>
#include <vector>

class TempDir;

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
