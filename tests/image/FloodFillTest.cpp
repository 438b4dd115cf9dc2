#include "foundation/KelException.h"
#include "image/SurfaceTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace {

// The filled set by definition: a breadth-first walk over 4-neighbours of the
// seed's colour within clip.
TRect ReferenceFill(std::vector<uint8_t>& pixels, int32_t width, int32_t height, const TRect& clip,
                    TPoint seed, uint8_t colour) {
    TRect bounds{width, height, 0, 0};
    auto at = [&](int32_t x, int32_t y) -> uint8_t& { return pixels[static_cast<size_t>(y) * width + x]; };
    const uint8_t old = at(seed.X, seed.Y);
    if (old == colour || !PtInRect(clip, seed)) return bounds;
    std::deque<TPoint> queue{seed};
    at(seed.X, seed.Y) = colour;
    while (!queue.empty()) {
        TPoint p = queue.front();
        queue.pop_front();
        bounds = {std::min(bounds.Left, p.X), std::min(bounds.Top, p.Y), std::max(bounds.Right, p.X + 1),
                  std::max(bounds.Bottom, p.Y + 1)};
        for (TPoint n :
             {TPoint{p.X - 1, p.Y}, TPoint{p.X + 1, p.Y}, TPoint{p.X, p.Y - 1}, TPoint{p.X, p.Y + 1}}) {
            if (!PtInRect(clip, n) || at(n.X, n.Y) != old) continue;
            at(n.X, n.Y) = colour;
            queue.push_back(n);
        }
    }
    return bounds;
}

} // namespace

TEST(FloodFillTest, FillsExactlyTheInsideAroundBaysOpeningUpAndDown) {
    TestSurface surface(10, 11);
    Paint(*surface, {
                        "..........",
                        ".########.",
                        ".#      #.",
                        ".# #  # #.",
                        ".# #### #.",
                        ".#      #.",
                        ".# #### #.",
                        ".# #  # #.",
                        ".#      #.",
                        ".########.",
                        "..........",
                    });
    const TRect filled = surface->FloodFill({5, 8}, 'o');
    EXPECT_EQ(Picture(*surface), (std::vector<std::string>{
                                     "..........",
                                     ".########.",
                                     ".#oooooo#.",
                                     ".#o#oo#o#.",
                                     ".#o####o#.",
                                     ".#oooooo#.",
                                     ".#o####o#.",
                                     ".#o#oo#o#.",
                                     ".#oooooo#.",
                                     ".########.",
                                     "..........",
                                 }));
    EXPECT_EQ(filled, (TRect{2, 2, 8, 9}));
    EXPECT_EQ(surface->DamageList().Head()->Rect, surface->ClipRect);
}

TEST(FloodFillTest, PixelsTouchingOnlyDiagonallyStayUnfilled) {
    TestSurface surface(5, 3);
    Paint(*surface, {"#.#..", ".#.#.", "#.#.."});
    EXPECT_EQ(surface->FloodFill({1, 1}, 'o'), (TRect{1, 1, 2, 2}));
    EXPECT_EQ(surface->FloodFill({0, 1}, 'x'), (TRect{0, 1, 1, 2}));
    EXPECT_EQ(Picture(*surface), (std::vector<std::string>{"#.#..", "xo.#.", "#.#.."}));
}

TEST(FloodFillTest, SeedOfTheFillColourChangesNothingAndGivesTheInvertedRectangle) {
    TestSurface surface(7, 5);
    Paint(*surface, {"ooooooo", "o.....o", "ooooooo", ".......", "......."});
    const std::vector<std::string> before = Picture(*surface);
    EXPECT_EQ(surface->FloodFill({0, 0}, 'o'), (TRect{7, 5, 0, 0}));
    EXPECT_EQ(Picture(*surface), before);
}

TEST(FloodFillTest, StaysInsideTheClipRectangle) {
    TestSurface surface(10, 10);
    surface->SetClipRect({2, 3, 7, 8});
    EXPECT_EQ(surface->FloodFill({4, 4}, 9), (TRect{2, 3, 7, 8}));
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(surface->GetPixel({x, y}), (x >= 2 && x < 7 && y >= 3 && y < 8) ? 9 : 0);
    // A seed on the surface but outside the clip has no area within it.
    EXPECT_EQ(surface->FloodFill({0, 0}, 5), (TRect{10, 10, 0, 0}));
    EXPECT_EQ(surface->GetPixel({0, 0}), 0);
    EXPECT_THROW(surface->FloodFill({10, 0}, 5), ZQ5Exception);
}

TEST(FloodFillTest, MatchesABreadthFirstFillOnRandomPictures) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        const auto width = static_cast<uint16_t>(1 + random() % 70);
        const auto height = static_cast<uint16_t>(1 + random() % 50);
        const int colours = 2 + static_cast<int>(random() % 2);
        const int density = 30 + static_cast<int>(random() % 40);
        TestSurface surface(width, height);
        SetPixels(*surface, [&](int32_t, int32_t) {
            return static_cast<uint8_t>(static_cast<int>(random() % 100) < density ? random() % colours
                                                                                   : colours);
        });
        TRect clip = surface->BoundsRect();
        if (round % 3 == 0) {
            const int32_t left = static_cast<int32_t>(random() % width),
                          top = static_cast<int32_t>(random() % height);
            clip = {left, top, left + 1 + static_cast<int32_t>(random() % (width - left)),
                    top + 1 + static_cast<int32_t>(random() % (height - top))};
            surface->SetClipRect(clip);
        }
        const TPoint seed{clip.Left + static_cast<int32_t>(random() % RectWidth(clip)),
                          clip.Top + static_cast<int32_t>(random() % RectHeight(clip))};
        const auto colour = static_cast<uint8_t>(random() % 4);
        std::vector<uint8_t> expected = Pixels(*surface);
        const TRect expectedBounds = ReferenceFill(expected, width, height, clip, seed, colour);
        const TRect bounds = surface->FloodFill(seed, colour);
        ASSERT_EQ(bounds, expectedBounds) << "round " << round;
        ASSERT_TRUE(Pixels(*surface) == expected) << "round " << round;
    }
}

TEST(FloodFillTest, WindingCorridorAcrossAllBandsOfALargeSurface) {
    TestSurface surface(640, 480);
    // Horizontal walls with one gap alternating left and right: one long
    // corridor that crosses every band boundary many times.
    SetPixels(*surface, [](int32_t x, int32_t y) {
        if (y % 2 == 0) return uint8_t{0};
        const bool gapLeft = (y / 2) % 2 == 0;
        return static_cast<uint8_t>((gapLeft ? x == 0 : x == 639) ? 0 : 1);
    });
    std::vector<uint8_t> expected = Pixels(*surface);
    const TRect expectedBounds = ReferenceFill(expected, 640, 480, surface->BoundsRect(), {320, 0}, 2);
    EXPECT_EQ(surface->FloodFill({320, 0}, 2), expectedBounds);
    EXPECT_TRUE(Pixels(*surface) == expected);
    EXPECT_EQ(surface->GetPixel({5, 478}), 2);
}
