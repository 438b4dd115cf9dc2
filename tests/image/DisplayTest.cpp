#include "foundation/KelException.h"
#include "image/BandBlit.h"
#include "image/SurfaceTestSupport.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

RgbPalette TestPalette() {
    RgbPalette palette{};
    for (uint32_t i = 0; i < 256; ++i)
        palette[i] = 0xFF000000u | (i << 16) | ((255 - i) << 8) | (i / 2);
    return palette;
}

} // namespace

TEST(DisplayTest, TwoBandsGiveTwoBlitsLowerFirstWithTheUpperDirectlyAbove) {
    TestSurface surface(640, 480); // bands of 96 lines: the lowest holds lines 384..479
    SetPixels(*surface, [](int32_t x, int32_t y) { return static_cast<uint8_t>((x + y) % 256); });
    const RgbPalette palette = TestPalette();
    FakeDisplayTarget target(200, 200);
    target.SelectPalette(&palette);
    const int lines = surface->Display(target, {10, 20}, {100, 350, 150, 420});
    EXPECT_EQ(lines, 70);
    ASSERT_EQ(target.Blits.size(), 2u);
    EXPECT_EQ(target.Blits[0], (TRect{10, 54, 60, 90})); // lines 384..419
    EXPECT_EQ(target.Blits[1], (TRect{10, 20, 60, 54})); // lines 350..383
    for (int32_t y = 350; y < 420; ++y)
        for (int32_t x = 100; x < 150; ++x)
            ASSERT_EQ(target.Pixel(x - 90, y - 330), palette[(x + y) % 256]) << x << "," << y;
    EXPECT_EQ(target.Pixel(9, 20), 0xFF000000u);
    EXPECT_EQ(target.Pixel(60, 20), 0xFF000000u);
    EXPECT_EQ(surface.Header.Width, 640);
    EXPECT_EQ(surface.Header.Height, 96);
}

TEST(DisplayTest, TransparentPixelsLeaveTheTargetAndBlitsAreClippedToIt) {
    TestSurface surface(4, 2);
    Paint(*surface, {"\x01\x02\x03\x02", "\x02\x02\x04\x02"});
    surface->SetTransparent(2, true);
    const RgbPalette palette = TestPalette();
    FakeDisplayTarget target(3, 3, 0xFF123456u);
    target.SelectPalette(&palette);
    EXPECT_EQ(surface->Display(target, {-1, 1}, surface->BoundsRect()), 2);
    ASSERT_EQ(target.Blits.size(), 1u);
    EXPECT_EQ(target.Blits[0], (TRect{0, 1, 3, 3}));
    EXPECT_EQ(target.Pixel(0, 1), 0xFF123456u); // surface (1, 0) is transparent
    EXPECT_EQ(target.Pixel(1, 1), palette[3]);
    EXPECT_EQ(target.Pixel(2, 1), 0xFF123456u);
    EXPECT_EQ(target.Pixel(1, 2), palette[4]);
    EXPECT_EQ(target.Pixel(0, 0), 0xFF123456u);
}

TEST(DisplayTest, DamageIsShownInPlaceAndThenCleared) {
    TestSurface surface(50, 50);
    FakeDisplayTarget target(60, 60);
    surface->DisplayDamage(target, {0, 0});
    EXPECT_TRUE(target.Blits.empty());
    EXPECT_FALSE(surface->IsDirty());
    surface->FillRect({5, 5, 10, 10}, 200);
    surface->FillRect({30, 30, 35, 32}, 100);
    surface->DisplayDamage(target, {3, 4});
    EXPECT_EQ(target.Blits, (std::vector<TRect>{{8, 9, 13, 14}, {33, 34, 38, 36}}));
    EXPECT_FALSE(surface->IsDirty());
    EXPECT_EQ(target.Pixel(8, 9), 0xFFC8C8C8u); // no palette selected: a grey ramp
}

TEST(DisplayTest, ASurfaceWithoutADisplayHeaderRefusesToDisplay) {
    TestSurface surface(4, 4, false);
    FakeDisplayTarget target(4, 4);
    try {
        surface->Display(target, {0, 0}, surface->BoundsRect());
        FAIL() << "displayed without a header";
    } catch (const ZQ5Exception& error) {
        EXPECT_STREQ(error.what(), "PBMInfo not initialized for Display");
    }
    TestSurface empty(0, 0, false);
    EXPECT_EQ(empty->Display(target, {0, 0}, {0, 0, 4, 4}), 0);
}

TEST(DisplayTest, DrawImageShowsTheWholeImageOpaqueBottomBandLast) {
    TestLibrary files(
        {{"tall", 640, 200, [](int32_t x, int32_t y) { return static_cast<uint8_t>((x ^ y) & 0xFF); }, 3}});
    TZQ5Library& library = files.Library;
    TImageNode* node = library.GetImage("TALL");
    FakeDisplayTarget target(700, 260);
    target.SelectPalette(&library.GetHPal());
    library.DrawImage(target, {30, 40}, node);
    ASSERT_EQ(target.Blits.size(), 2u);
    EXPECT_EQ(target.Blits[0], (TRect{30, 40 + 100, 670, 240}));
    EXPECT_EQ(target.Blits[1], (TRect{30, 40, 670, 40 + 100}));
    const RgbPalette& palette = library.GetHPal();
    for (int32_t y = 0; y < 200; y += 7)
        for (int32_t x = 0; x < 640; x += 5)
            ASSERT_EQ(target.Pixel(30 + x, 40 + y), palette[(x ^ y) & 0xFF]) << x << "," << y;
    for (const auto& segment : node->Image->Segments)
        EXPECT_EQ(segment->Flags & sfDrawing, 0);
    library.ReleaseImage(node);
}

namespace {

// Maps a line the plain way and the wide way onto the same background and
// compares every pixel, those around the line included; then the same line
// read three times upwards, as lines of a band, onto three rows.
void ExpectBothWaysAlike(const ColourMap& map, const std::vector<uint8_t>& line, size_t offset, size_t count,
                         int transparent) {
    const LineColours plain(map, false), wide(map, true);
    ASSERT_FALSE(plain.Wide());
    ASSERT_TRUE(wide.Wide());
    std::vector<uint32_t> byPlain(count + 130, 0x5A5A5A5Au), byWide = byPlain;
    plain.MapLine(byPlain.data() + 65, line.data() + offset, count, transparent);
    wide.MapLine(byWide.data() + 65, line.data() + offset, count, transparent);
    for (size_t x = 0; x < byPlain.size(); ++x)
        ASSERT_EQ(byWide[x], byPlain[x]) << "pixel " << x << " of " << count << " from " << offset
                                         << ", transparent " << transparent;
    std::vector<uint8_t> band;
    for (int k = 0; k < 3; ++k)
        band.insert(band.end(), line.begin(), line.end());
    std::vector<uint32_t> rowsPlain(3 * byPlain.size(), 0x5A5A5A5Au), rowsWide = rowsPlain;
    uint32_t* plainRows[3];
    uint32_t* wideRows[3];
    for (size_t k = 0; k < 3; ++k) {
        plainRows[k] = rowsPlain.data() + (2 - k) * byPlain.size() + 65;
        wideRows[k] = rowsWide.data() + (2 - k) * byPlain.size() + 65;
    }
    const uint8_t* bottom = band.data() + 2 * line.size() + offset;
    const ptrdiff_t up = -static_cast<ptrdiff_t>(line.size());
    plain.MapLines(plainRows, bottom, up, count, 3, transparent);
    wide.MapLines(wideRows, bottom, up, count, 3, transparent);
    ASSERT_EQ(rowsWide, rowsPlain) << count << " from " << offset << ", transparent " << transparent;
}

} // namespace

TEST(DisplayTest, WideLineMappingWritesWhatThePlainOneWrites) {
    if (!LineColours::WideAvailable()) GTEST_SKIP() << "this processor has no wide byte permutes";
    std::mt19937 random(23);
    std::vector<uint8_t> line(400);
    for (int round = 0; round < 300; ++round) {
        ColourMap map{};
        // Half the maps opaque, as shown; the others with a top byte of their own.
        for (uint32_t& colour : map)
            colour = round % 2 ? random() : random() | 0xFF000000u;
        for (uint8_t& index : line)
            index = static_cast<uint8_t>(round % 3 ? random() : random() % 4 + 126); // runs across the halves
        const size_t offset = random() % 70;
        const size_t count = round < 200 ? static_cast<size_t>(round) : random() % (line.size() - offset);
        const int transparent = round % 4 == 0 ? -1 : static_cast<int>(line[offset + random() % 5] + round % 2);
        ExpectBothWaysAlike(map, line, offset, count, transparent);
    }
    // Every index, the top and bottom ones included, through a map of distinct colours.
    ColourMap distinct{};
    std::vector<uint8_t> every(256);
    for (uint32_t v = 0; v < 256; ++v) {
        distinct[v] = 0x01000000u * (255 - v) + v * 0x010203u;
        every[v] = static_cast<uint8_t>(v);
    }
    for (int transparent : {-1, 0, 127, 128, 255})
        ExpectBothWaysAlike(distinct, every, 0, every.size(), transparent);
}
