#include "shell/TileBG.h"
#include "image/ZQ5Library.h"
#include "support/TestFiles.h"
#include "support/TestLibrary.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {
// A library holding one pattern tile of that size.
struct TileLibrary {
    explicit TileLibrary(uint16_t size) {
        Library.Load(WriteTestLibrary(Dir, {PatternImage("tile", size, size)}), true);
    }
    // Shows the tile on the backdrop.
    void Attach(TTileBG& bg) {
        bg.SetLibrary(&Library);
        bg.SetImageName("tile");
    }
    TempDir Dir;
    TZQ5Library Library;
};
} // namespace

TEST(TileBGTest, TilesAnchoredAtTheCornerOnlyWhereTheClipIs) {
    TileLibrary tiles(64);
    TTileBG bg(nullptr);
    bg.resize(400, 300);
    tiles.Attach(bg);
    ASSERT_NE(bg.GetTile(), nullptr);
    QImage shot(400, 300, QImage::Format_RGB32);
    bg.render(&shot, QPoint(100, 70), QRegion(100, 70, 200, 130)); // drawn where it lies
    EXPECT_EQ(bg.TilesPainted(), 4 * 3);                           // x 64..256, y 64..192
    // Pixel (x, y) of the backdrop is pixel (x mod 64, y mod 64) of the tile.
    EXPECT_EQ(shot.pixel(130, 70), shot.pixel(130 + 64, 70 + 64));
    EXPECT_EQ(qRed(shot.pixel(130, 70)), (130 % 64 + (70 % 64) * 64) % 256);
    bg.SetLibrary(nullptr);
}

TEST(TileBGTest, ScaledTilesStayCrisp) {
    TileLibrary tiles(16);
    TTileBG bg(nullptr);
    bg.resize(64, 64);
    tiles.Attach(bg);
    bg.SetScale(2);
    QImage shot(64, 64, QImage::Format_RGB32);
    bg.render(&shot);
    EXPECT_EQ(bg.TilesPainted(), 4);
    EXPECT_EQ(qRed(shot.pixel(2, 0)), 1);
    EXPECT_EQ(qRed(shot.pixel(3, 1)), 1);
    EXPECT_EQ(qRed(shot.pixel(34, 0)), 1); // the next tile at 16 * 2
    bg.SetLibrary(nullptr);
}

TEST(TileBGTest, UnknownNameOrNoLibraryPaintsCrossHatching) {
    TileLibrary tiles(16);
    TTileBG bg(nullptr);
    bg.resize(40, 40);
    TTileBG::SetGlobalImageLibrary(nullptr);
    bg.SetImageName("tile");
    QImage shot(40, 40, QImage::Format_RGB32);
    bg.render(&shot);
    EXPECT_EQ(bg.TilesPainted(), 0);
    bg.SetLibrary(&tiles.Library);
    bg.SetImageName("nosuch");
    EXPECT_EQ(bg.GetTile(), nullptr);
    bg.render(&shot);
    EXPECT_EQ(bg.TilesPainted(), 0);
    std::set<QRgb> colours;
    for (int x = 0; x < 40; ++x)
        colours.insert(shot.pixel(x, 10));
    EXPECT_TRUE(colours.count(qRgb(0, 0, 0)));
    EXPECT_TRUE(colours.count(qRgb(255, 255, 255)));
    bg.SetLibrary(nullptr);
}

TEST(TileBGTest, LibraryGoingFirstLeavesTheBackdropWithout) {
    TTileBG bg(nullptr);
    {
        TileLibrary tiles(16);
        tiles.Attach(bg);
        ASSERT_NE(bg.GetTile(), nullptr);
        bg.SetLibrary(nullptr);
    }
    EXPECT_EQ(bg.GetLibrary(), nullptr);
}
