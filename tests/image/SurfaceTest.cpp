#include "foundation/KelException.h"
#include "image/SeeThroughCopy.h"
#include "image/SurfaceTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace {

std::vector<TRect> DamageRects(const TZQ5ImageData& surface) {
    std::vector<TRect> rects;
    for (TDamageNode* node : surface.DamageList())
        rects.push_back(node->Rect);
    return rects;
}

uint8_t Pattern(int32_t x, int32_t y) {
    return static_cast<uint8_t>(1 + (x * 7 + y * 13) % 250);
}

template <class F> void ExpectThrowsText(F&& action, const std::string& text) {
    try {
        action();
        FAIL() << "no exception, expected: " << text;
    } catch (const ZQ5Exception& error) {
        EXPECT_EQ(error.what(), text);
    }
}

} // namespace

TEST(DamageTest, MergeKeepsContainedAndReplacesContainingRectangles) {
    TestSurface surface(100, 100);
    surface->AddDamage({10, 10, 20, 20});
    surface->AddDamage({12, 12, 15, 15});
    EXPECT_EQ(DamageRects(*surface), (std::vector<TRect>{{10, 10, 20, 20}}));
    surface->AddDamage({0, 0, 50, 50});
    EXPECT_EQ(DamageRects(*surface), (std::vector<TRect>{{0, 0, 50, 50}}));
    surface->AddDamage({40, 40, 60, 60});
    EXPECT_EQ(DamageRects(*surface), (std::vector<TRect>{{0, 0, 50, 50}, {40, 40, 60, 60}}));
    EXPECT_TRUE(surface->IsDirty());
    surface->ClearDamage();
    EXPECT_FALSE(surface->IsDirty());
}

TEST(DamageTest, SinglePassStopsAtFirstContainmentAndClipsToBounds) {
    TestSurface surface(100, 100);
    surface->AddDamage({0, 0, 10, 10});
    surface->AddDamage({20, 0, 30, 10});
    // Holds both: only the first is replaced, the second stays.
    surface->AddDamage({0, 0, 40, 10});
    EXPECT_EQ(DamageRects(*surface), (std::vector<TRect>{{0, 0, 40, 10}, {20, 0, 30, 10}}));
    surface->ClearDamage();
    surface->AddDamage({90, -5, 120, 30});
    surface->AddDamage({50, 50, 50, 60}); // empty: intersects nothing, appended
    EXPECT_EQ(DamageRects(*surface), (std::vector<TRect>{{90, 0, 100, 30}, {50, 50, 50, 60}}));
}

TEST(SurfaceRectTest, NormalizeClipAndTransparency) {
    TestSurface surface(50, 40);
    TRect rect{60, 30, -5, 10};
    surface->NormalizeRect(rect);
    EXPECT_EQ(rect, (TRect{0, 10, 50, 30}));
    surface->SetClipRect({10, 10, 100, 20});
    EXPECT_EQ(surface->ClipRect, (TRect{10, 10, 50, 20}));
    rect = {0, 0, 30, 30};
    surface->ClipToDrawable(rect);
    EXPECT_EQ(rect, (TRect{10, 10, 30, 20}));
    rect = {0, 0, 5, 5};
    surface->ClipToDrawable(rect);
    EXPECT_EQ(rect, (TRect{0, 0, 0, 0}));
    EXPECT_EQ(surface->TransparentOrNone(), -1);
    surface->SetTransparent(217, true);
    EXPECT_EQ(surface->TransparentOrNone(), 217);
}

TEST(LineAccessTest, StepsAcrossBandsAndRefusesOutsidePositions) {
    TestSurface surface(640, 480);
    ASSERT_EQ(surface->SegmentCount(), 5);
    SetPixels(*surface, Pattern);
    int32_t y = 0;
    uint8_t* address = surface->StartLine(3, y);
    for (; y < 479;) {
        address = surface->NextStartLine(address, 3, y);
        ASSERT_EQ(*address, Pattern(3, y)) << "line " << y;
    }
    for (; y > 0;) {
        address = surface->PrevStartLine(address, 3, y);
        ASSERT_EQ(*address, Pattern(3, y)) << "line " << y;
    }
    ExpectThrowsText([&] { surface->PrevStartLine(address, 3, y); },
                     "PrevStartLine: co-ordinates outside drawing area");
    int32_t last = 479;
    ExpectThrowsText([&] { surface->NextStartLine(address, 3, last); },
                     "NextStartLine: co-ordinates outside drawing area");
    ExpectThrowsText([&] { surface->StartLine(640, 0); }, "StartLine: co-ordinates outside drawing area");
    ExpectThrowsText([&] { surface->GetPixel({0, -1}); }, "StartLine: co-ordinates outside drawing area");
    ExpectThrowsText([&] { surface->UnlockSegment(0, 480); },
                     "UnlockSegment: co-ordinates outside drawing area");
    surface->LockAll();
    EXPECT_TRUE(surface->AllLocked);
}

TEST(FillTest, ReversedRectangleFillsTheSamePixelsAndReportsThem) {
    TestSurface ordered(30, 20), reversed(30, 20);
    ordered->FillRect({5, 3, 25, 12}, 9);
    reversed->FillRect({25, 12, 5, 3}, 9);
    EXPECT_EQ(Pixels(*ordered), Pixels(*reversed));
    EXPECT_EQ(ordered->GetPixel({5, 3}), 9);
    EXPECT_EQ(ordered->GetPixel({24, 11}), 9);
    EXPECT_EQ(ordered->GetPixel({25, 11}), 0);
    EXPECT_EQ(DamageRects(*ordered), (std::vector<TRect>{{5, 3, 25, 12}}));
}

TEST(FillTest, FillStaysInsideTheClipRectangle) {
    TestSurface surface(20, 20);
    surface->SetClipRect({5, 5, 10, 10});
    surface->FillRect({0, 0, 20, 20}, 3);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x)
            ASSERT_EQ(surface->GetPixel({x, y}), (x >= 5 && x < 10 && y >= 5 && y < 10) ? 3 : 0);
}

TEST(FrameTest, EdgesCutAwayByClippingAreNotDrawn) {
    TestSurface surface(40, 40);
    surface->FrameRect({-5, 10, 20, 30}, 7);
    for (int32_t x = 0; x < 20; ++x) {
        EXPECT_EQ(surface->GetPixel({x, 10}), 7) << x;
        EXPECT_EQ(surface->GetPixel({x, 29}), 7) << x;
    }
    for (int32_t y = 11; y < 29; ++y) {
        EXPECT_EQ(surface->GetPixel({19, y}), 7) << y;
        EXPECT_EQ(surface->GetPixel({0, y}), 0) << y;
        EXPECT_EQ(surface->GetPixel({10, y}), 0) << y;
    }
    EXPECT_EQ(surface->GetPixel({20, 10}), 0);
    EXPECT_EQ(surface->GetPixel({5, 30}), 0);
    EXPECT_EQ(DamageRects(*surface), (std::vector<TRect>{{0, 10, 20, 30}}));
}

TEST(FrameTest, ClipRectCutsTopAndRightEdges) {
    TestSurface surface(40, 40);
    surface->SetClipRect({0, 12, 15, 40});
    surface->FrameRect({2, 10, 20, 20}, 7);
    EXPECT_EQ(surface->GetPixel({5, 12}), 0);  // no top edge
    EXPECT_EQ(surface->GetPixel({2, 12}), 7);  // left edge
    EXPECT_EQ(surface->GetPixel({14, 15}), 0); // right edge clipped away
    EXPECT_EQ(surface->GetPixel({14, 19}), 7); // bottom edge
    EXPECT_EQ(surface->GetPixel({15, 19}), 0);
}

TEST(CopyTest, NegativeSourceOriginMovesTheDestination) {
    TestSurface source(20, 20), dest(40, 40);
    SetPixels(*source, Pattern);
    dest->CopyFrom({10, 10}, *source, {-3, -2, 5, 5});
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            const bool inside = x >= 13 && x < 18 && y >= 12 && y < 17;
            ASSERT_EQ(dest->GetPixel({x, y}), inside ? Pattern(x - 13, y - 12) : 0) << x << "," << y;
        }
}

TEST(CopyTest, MirroredSourceClippedOnTheLeftDropsItsRightColumns) {
    TestSurface source(10, 1), dest(20, 1);
    SetPixels(*source, [](int32_t x, int32_t) { return static_cast<uint8_t>(x + 1); });
    source->MirrorHorizontal = true;
    dest->SetClipRect({5, 0, 20, 1});
    dest->CopyFrom({2, 0}, *source, source->BoundsRect());
    EXPECT_EQ(Picture(*dest)[0], std::string("\0\0\0\0\0\7\6\5\4\3\2\1\0\0\0\0\0\0\0\0", 20));
}

TEST(CopyTest, VerticalMirrorReadsLinesBottomUp) {
    TestSurface source(2, 4), dest(2, 3);
    SetPixels(*source, [](int32_t x, int32_t y) { return static_cast<uint8_t>(10 * y + x + 1); });
    source->MirrorVertical = true;
    dest->SetClipRect({0, 0, 2, 2});
    dest->CopyFrom({0, 0}, *source, {0, 1, 2, 4}); // lines 1..3, shown 3, 2, 1, cut after two
    EXPECT_EQ(dest->GetPixel({0, 0}), 31);
    EXPECT_EQ(dest->GetPixel({1, 1}), 22);
    EXPECT_EQ(dest->GetPixel({0, 2}), 0);
}

TEST(CopyTest, TransparentSourcePixelsLeaveTheDestination) {
    TestSurface source(4, 1), dest(4, 1);
    Paint(*source, {"a*b*"});
    Paint(*dest, {"wxyz"});
    source->SetTransparent('*', true);
    dest->CopyFrom({0, 0}, *source, source->BoundsRect());
    EXPECT_EQ(Picture(*dest)[0], "axbz");
    source->MirrorHorizontal = true;
    dest->CopyFrom({0, 0}, *source, source->BoundsRect());
    EXPECT_EQ(Picture(*dest)[0], "abba");
}

// Lines long enough for the block-wise copy, with keyed pixels at every
// position within a block and a tail, onto another surface and, shifted by a
// few pixels, onto the same one.
TEST(CopyTest, KeyedCopiesOfLongLinesMatchAPixelByPixelModel) {
    const uint8_t key = 9;
    auto keyed = [key](int32_t x, int32_t y) { return (x * 5 + y) % 7 == 0 ? key : Pattern(x, y); };
    TestSurface source(53, 3), dest(60, 3);
    SetPixels(*source, keyed);
    SetPixels(*dest, [](int32_t x, int32_t y) { return static_cast<uint8_t>(200 + (x + y) % 50); });
    std::vector<uint8_t> model = Pixels(*dest);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 53; ++x)
            if (keyed(x, y) != key) model[static_cast<size_t>(y) * 60 + x + 4] = keyed(x, y);
    source->SetTransparent(key, true);
    dest->CopyFrom({4, 0}, *source, source->BoundsRect());
    EXPECT_TRUE(Pixels(*dest) == model);

    // Within one surface the copy runs from left to right, pixel by pixel, so a
    // pixel copied early is read again further on.
    std::vector<uint8_t> line = Pixels(*source);
    for (size_t x = 0; x < 50; ++x)
        if (line[x] != key) line[x + 3] = line[x];
    source->CopyFrom({3, 0}, *source, {0, 0, 50, 1});
    std::vector<uint8_t> after = Pixels(*source);
    EXPECT_TRUE(std::equal(line.begin(), line.begin() + 53, after.begin()));
}

TEST(CopyTest, NothingLeftToCopyReportsNothing) {
    TestSurface source(4, 4), dest(4, 4);
    dest->CopyFrom({10, 10}, *source, source->BoundsRect());
    dest->CopyFrom({0, 0}, *source, {8, 0, 12, 4});
    EXPECT_FALSE(dest->IsDirty());
}

TEST(CopyTest, CopyWithClipPutsTheClipRectBack) {
    TestSurface source(10, 10), dest(10, 10);
    SetPixels(*source, Pattern);
    dest->SetClipRect({1, 1, 9, 9});
    dest->CopyWithClip({0, 0}, *source, {0, 0, 3, 3}, source->BoundsRect());
    EXPECT_EQ(dest->ClipRect, (TRect{1, 1, 9, 9}));
    EXPECT_EQ(dest->GetPixel({0, 0}), Pattern(0, 0));
    EXPECT_EQ(dest->GetPixel({2, 2}), Pattern(2, 2));
    EXPECT_EQ(dest->GetPixel({3, 3}), 0);
}

TEST(ScaledCopyTest, TwoByTwoOntoFourByFourDoublesEachPixel) {
    TestSurface source(2, 2), dest(4, 4);
    Paint(*source, {"ab", "cd"});
    dest->ScaledCopyFrom({0, 0, 4, 4}, *source, {0, 0, 2, 2});
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{"aabb", "aabb", "ccdd", "ccdd"}));
}

TEST(ScaledCopyTest, OntoOnePixelKeepsTheBottomRightPixel) {
    TestSurface source(2, 2), dest(3, 3);
    Paint(*source, {"ab", "cd"});
    dest->ScaledCopyFrom({1, 1, 2, 2}, *source, {0, 0, 2, 2});
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{std::string(3, '\0'), std::string("\0d\0", 3),
                                                        std::string(3, '\0')}));
}

TEST(ScaledCopyTest, MirroredTransparentAndClipped) {
    TestSurface source(2, 2), dest(4, 4);
    Paint(*source, {"a*", "cd"});
    Paint(*dest, {"....", "....", "....", "...."});
    source->SetTransparent('*', true);
    source->MirrorHorizontal = true;
    source->MirrorVertical = true;
    dest->SetClipRect({0, 0, 4, 3});
    dest->ScaledCopyFrom({0, 0, 4, 4}, *source, {0, 0, 2, 2});
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{"ddcc", "ddcc", "..aa", "...."}));
    EXPECT_EQ(DamageRects(*dest), (std::vector<TRect>{{0, 0, 4, 3}}));
}

TEST(ScaledCopyTest, SourceRectangleReachingPastTheSourceReadsNothingOutside) {
    TestSurface source(2, 2), dest(4, 2);
    Paint(*source, {"ab", "cd"});
    Paint(*dest, {"....", "...."});
    dest->ScaledCopyFrom({0, 0, 4, 2}, *source, {0, 0, 4, 2});
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{"ab..", "cd.."}));
}

TEST(DitherTest, StepTwoCopiesACheckerboard) {
    TestSurface source(6, 3), dest(6, 3);
    Paint(*source, {"######", "######", "######"});
    Paint(*dest, {"......", "......", "......"});
    dest->DitherFrom({0, 0}, *source, source->BoundsRect(), 2);
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{"#.#.#.", ".#.#.#", "#.#.#."}));
}

TEST(DitherTest, StepOneCopiesAllButTheLastPixelOfEachLineAndStepZeroNothing) {
    TestSurface source(5, 2), dest(5, 2);
    Paint(*source, {"#####", "#####"});
    Paint(*dest, {".....", "....."});
    dest->DitherFrom({0, 0}, *source, source->BoundsRect(), 1);
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{"####.", "####."}));
    dest->ClearDamage();
    dest->DitherFrom({0, 0}, *source, source->BoundsRect(), 0);
    EXPECT_EQ(Picture(*dest), (std::vector<std::string>{"####.", "####."}));
    EXPECT_FALSE(dest->IsDirty());
}

TEST(DitherTest, FallingStepsFillEverythingButTheLastColumn) {
    TestSurface source(9, 6), dest(9, 6);
    SetPixels(*source, Pattern);
    for (uint8_t step : {8, 4, 2, 1})
        dest->DitherFrom({0, 0}, *source, source->BoundsRect(), step);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(dest->GetPixel({x, y}), Pattern(x, y));
}

TEST(ShrinkTest, TakesEveryFactorthPixelAndReportsNothing) {
    TestSurface source(9, 6), dest(3, 2);
    SetPixels(*source, Pattern);
    dest->ShrinkFrom(*source, 3);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(dest->GetPixel({x, y}), Pattern(3 * x, 3 * y));
    EXPECT_FALSE(dest->IsDirty());
    TestSurface big(4, 2);
    EXPECT_THROW(big->ShrinkFrom(*source, 3), ZQ5Exception);
    EXPECT_THROW(dest->ShrinkFrom(*source, 0), ZQ5Exception);
}

TEST(InkShrinkTest, OnePixelLinesSurviveAndTheIgnoredIndexNeverShows) {
    constexpr uint8_t Paper = 255, Ink = 40, Fill = 7, Selection = 125;
    // A 1-pixel frame at column 4 and line 7 of a 12 x 12 paper, never on
    // the every-third pixel that ShrinkFrom takes.
    TestSurface source(12, 12), dest(4, 4);
    SetPixels(*source, [](int32_t x, int32_t y) -> uint8_t {
        if (x == 4 || y == 7) return Ink;
        return x > 8 ? Fill : Paper;
    });
    dest->InkShrinkFrom(dest->BoundsRect(), *source, source->BoundsRect(), Ink, -1);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(dest->GetPixel({1, i}), Ink) << "the vertical line, block " << i;
        EXPECT_EQ(dest->GetPixel({i, 2}), Ink) << "the horizontal line, block " << i;
    }
    EXPECT_EQ(dest->GetPixel({0, 0}), Paper);
    EXPECT_EQ(dest->GetPixel({3, 0}), Fill);
    EXPECT_FALSE(dest->IsDirty());

    // A selection outline loses every vote; the paper under it wins.
    SetPixels(*source, [](int32_t x, int32_t y) -> uint8_t { return (x % 3 == 0 || y % 3 == 0) ? Selection : Paper; });
    dest->InkShrinkFrom(dest->BoundsRect(), *source, source->BoundsRect(), Ink, Selection);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(dest->GetPixel({x, y}), Paper) << x << "," << y;

    // A block of the ignored index alone keeps it; a block of ink alone is ink.
    SetPixels(*source, [](int32_t x, int32_t) -> uint8_t { return x < 6 ? Selection : Ink; });
    dest->InkShrinkFrom(dest->BoundsRect(), *source, source->BoundsRect(), Ink, Selection);
    EXPECT_EQ(dest->GetPixel({0, 3}), Selection);
    EXPECT_EQ(dest->GetPixel({3, 3}), Ink);
}

TEST(InkShrinkTest, UnevenRatiosCoverTheWholeSourceAndBadRectanglesRaise) {
    // 10 -> 4 columns: the last block must reach the last source column.
    TestSurface source(10, 5), dest(4, 2);
    SetPixels(*source, [](int32_t x, int32_t) -> uint8_t { return x == 9 ? 40 : 1; });
    dest->InkShrinkFrom(dest->BoundsRect(), *source, source->BoundsRect(), 40, -1);
    EXPECT_EQ(dest->GetPixel({3, 0}), 40);
    EXPECT_EQ(dest->GetPixel({2, 1}), 1);
    // Into a part of the destination only.
    TestSurface wide(6, 3);
    wide->FillRect(wide->BoundsRect(), 9);
    wide->ClearDamage();
    wide->InkShrinkFrom({2, 1, 6, 3}, *source, source->BoundsRect(), 40, -1);
    EXPECT_EQ(wide->GetPixel({1, 1}), 9);
    EXPECT_EQ(wide->GetPixel({5, 2}), 40);
    EXPECT_THROW(wide->InkShrinkFrom({2, 1, 7, 3}, *source, source->BoundsRect(), 40, -1), ZQ5Exception);
    EXPECT_THROW(source->InkShrinkFrom(source->BoundsRect(), *dest, dest->BoundsRect(), 40, -1), ZQ5Exception);
}

// The reduction against a plain block-by-block reading of its rules, on
// lines wide enough for the sixteen-column path and its leftovers, at
// ratios with blocks of one to five columns and lines, from a part of a surface.
TEST(InkShrinkTest, EveryBlockFollowsTheRulesOneByOne) {
    constexpr uint8_t Ink = 40;
    std::mt19937 random(17);
    auto pick = [&](int32_t count) { return static_cast<int32_t>(random() % static_cast<uint32_t>(count)); };
    for (int round = 0; round < 60; ++round) {
        const int32_t columns = 1 + pick(70), lines = 1 + pick(12);
        const int32_t width = columns + pick(4 * columns + 1), height = lines + pick(4 * lines + 1);
        const TPoint at{pick(5), pick(5)};
        const int ignore = pick(3) == 0 ? -1 : 125;
        TestSurface source(static_cast<uint16_t>(width + 8), static_cast<uint16_t>(height + 8));
        TestSurface dest(static_cast<uint16_t>(columns), static_cast<uint16_t>(lines));
        // Few indices in patches, so that one-index blocks, ties, ink and the
        // ignored index all come up.
        const std::array<uint8_t, 5> indices{Ink, 125, 7, 8, 9};
        const int32_t patch = 1 + pick(6);
        std::vector<uint8_t> patches(64 * 64);
        for (uint8_t& index : patches)
            index = indices[static_cast<size_t>(pick(10) < 6 ? 2 + pick(3) : pick(5))];
        SetPixels(*source, [&](int32_t x, int32_t y) -> uint8_t {
            return patches[static_cast<size_t>((y / patch) % 64 * 64 + (x / patch) % 64)];
        });
        const TRect from = RectAtPt({0, 0, width, height}, at);
        dest->InkShrinkFrom(dest->BoundsRect(), *source, from, Ink, ignore);
        for (int32_t j = 0; j < lines; ++j)
            for (int32_t i = 0; i < columns; ++i) {
                const int32_t left = i * width / columns, top = j * height / lines;
                const int32_t right = std::max((i + 1) * width / columns, left + 1);
                const int32_t bottom = std::max((j + 1) * height / lines, top + 1);
                std::vector<uint8_t> block;
                for (int32_t y = top; y < bottom; ++y)
                    for (int32_t x = left; x < right; ++x)
                        block.push_back(source->GetPixel(PtAdd(at, {x, y})));
                uint8_t expected = block[0];
                if (std::count(block.begin(), block.end(), block[0]) != static_cast<ptrdiff_t>(block.size())) {
                    // Ink; else the most frequent index not ignored, the first seen on a tie.
                    std::array<int, 256> counts{};
                    int best = -1;
                    for (uint8_t index : block)
                        if (static_cast<int>(index) != ignore) ++counts[index];
                    for (uint8_t index : block)
                        if (static_cast<int>(index) != ignore && (best < 0 || counts[index] > counts[static_cast<size_t>(best)]))
                            best = index;
                    expected = std::count(block.begin(), block.end(), Ink) > 0 ? Ink
                               : best < 0                                      ? static_cast<uint8_t>(ignore)
                                                                               : static_cast<uint8_t>(best);
                }
                ASSERT_EQ(dest->GetPixel({i, j}), expected)
                    << "round " << round << ", " << width << " x " << height << " to " << columns << " x " << lines
                    << ", block " << i << "," << j;
            }
    }
}

TEST(InkShrinkTest, APartialReductionEqualsAWholeOneAfterTheChange) {
    // 376 x 225 to 125 x 75: blocks of 3 and 4 columns, as for a miniature.
    std::mt19937 random(5);
    TestSurface source(376, 225), whole(125, 75), part(125, 75);
    SetPixels(*source, [&](int32_t x, int32_t y) -> uint8_t {
        return (x % 37 == 0 || y % 29 == 0) ? 40 : static_cast<uint8_t>(1 + (x / 16 + y / 16) % 5);
    });
    part->InkShrinkFrom(part->BoundsRect(), *source, source->BoundsRect(), 40, 125);
    for (int round = 0; round < 40; ++round) {
        const int32_t left = static_cast<int32_t>(random() % 376), top = static_cast<int32_t>(random() % 225);
        const TRect changed{left, top, left + 1 + static_cast<int32_t>(random() % 60),
                            top + 1 + static_cast<int32_t>(random() % 60)};
        // Mixed blocks, uniform ones, ink and the ignored index, up to the edges.
        const auto colour = static_cast<uint8_t>(std::array<int, 5>{40, 125, 7, 8, 200}[random() % 5]);
        source->FillRect(changed, colour);
        if (round % 3 == 0) source->FillRect({changed.Left, changed.Top, changed.Left + 1, changed.Bottom}, 9);
        std::vector<uint8_t> before;
        for (int32_t y = 0; y < 75; ++y)
            for (int32_t x = 0; x < 125; ++x)
                before.push_back(part->GetPixel({x, y}));
        const TRect redone = part->InkShrinkPart(part->BoundsRect(), *source, source->BoundsRect(), 40, 125, changed);
        whole->InkShrinkFrom(whole->BoundsRect(), *source, source->BoundsRect(), 40, 125);
        for (int32_t y = 0; y < 75; ++y)
            for (int32_t x = 0; x < 125; ++x) {
                ASSERT_EQ(part->GetPixel({x, y}), whole->GetPixel({x, y}))
                    << "round " << round << " at " << x << "," << y;
                // What changed lies in the rectangle reported as worked out.
                if (before[static_cast<size_t>(y * 125 + x)] != part->GetPixel({x, y})) {
                    ASSERT_TRUE(PtInRect(redone, {x, y})) << "round " << round << " at " << x << "," << y;
                }
            }
    }
    // A change outside the source rectangle, or none, touches nothing.
    part->FillRect(part->BoundsRect(), 3);
    EXPECT_TRUE(IsRectEmpty(
        part->InkShrinkPart(part->BoundsRect(), *source, {0, 0, 300, 225}, 40, 125, {300, 0, 376, 225})));
    EXPECT_TRUE(IsRectEmpty(part->InkShrinkPart(part->BoundsRect(), *source, source->BoundsRect(), 40, 125, {})));
    EXPECT_EQ(part->GetPixel({0, 0}), 3);
    EXPECT_EQ(part->GetPixel({124, 74}), 3);
}

TEST(CopyTest, SeeThroughCopiesMatchAPixelByPixelCopy) {
    // Every transparent index that word tricks get wrong most easily, lines of
    // every length from 0 to 40 and at every start, runs of each kind.
    std::mt19937 random(11);
    for (int transparent : {0, 0x7F, 0x80, 0xFF, 217}) {
        TestSurface source(40, 24), dest(60, 24);
        SetPixels(*source, [&](int32_t x, int32_t y) -> uint8_t {
            const uint32_t kind = (static_cast<uint32_t>(x / 5 + y) * 2654435761u) >> 30;
            if (kind == 0) return static_cast<uint8_t>(transparent);
            if (kind == 1) return static_cast<uint8_t>(transparent ^ 0x80);
            return static_cast<uint8_t>(random());
        });
        source->SetTransparent(static_cast<uint8_t>(transparent), true);
        for (int32_t width = 0; width <= 40; ++width) {
            const int32_t from = static_cast<int32_t>(random() % static_cast<uint32_t>(41 - width));
            const int32_t at = static_cast<int32_t>(random() % 20);
            SetPixels(*dest, [](int32_t x, int32_t y) -> uint8_t { return static_cast<uint8_t>(x + 3 * y + 1); });
            dest->CopyFrom({at, 0}, *source, {from, 0, from + width, 24});
            for (int32_t y = 0; y < 24; ++y)
                for (int32_t x = 0; x < 60; ++x) {
                    uint8_t expected = static_cast<uint8_t>(x + 3 * y + 1);
                    if (x >= at && x < at + width) {
                        uint8_t pixel = source->GetPixel({x - at + from, y});
                        if (pixel != transparent) expected = pixel;
                    }
                    ASSERT_EQ(dest->GetPixel({x, y}), expected)
                        << "transparent " << transparent << ", width " << width << " at " << x << "," << y;
                }
        }
    }
}

// A 640 x 480 surface has five bands: every operation must address lines
// across the band boundaries (96, 192, 288, 384 from the bottom).
TEST(MultiBandTest, EveryOperationMatchesAPlainPixelModel) {
    TestSurface source(640, 480), dest(640, 480);
    ASSERT_EQ(dest->SegmentCount(), 5);
    SetPixels(*source, Pattern);
    std::vector<uint8_t> model(640 * 480, 0);
    auto at = [&](int32_t x, int32_t y) -> uint8_t& { return model[static_cast<size_t>(y) * 640 + x]; };

    dest->FillRect({10, 50, 600, 460}, 5);
    for (int32_t y = 50; y < 460; ++y)
        for (int32_t x = 10; x < 600; ++x)
            at(x, y) = 5;
    dest->FrameRect({0, 90, 640, 400}, 6);
    for (int32_t x = 0; x < 640; ++x)
        at(x, 90) = at(x, 399) = 6;
    for (int32_t y = 90; y < 400; ++y)
        at(0, y) = at(639, y) = 6;
    dest->CopyFrom({100, 20}, *source, {0, 0, 300, 450});
    for (int32_t y = 20; y < 470; ++y)
        for (int32_t x = 100; x < 400; ++x)
            at(x, y) = Pattern(x - 100, y - 20);
    source->MirrorVertical = true;
    dest->CopyFrom({420, 0}, *source, {0, 0, 100, 480});
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 420; x < 520; ++x)
            at(x, y) = Pattern(x - 420, 479 - y);
    source->MirrorVertical = false;
    dest->ScaledCopyFrom({520, 0, 640, 480}, *source, {0, 0, 60, 240});
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 520; x < 640; ++x)
            at(x, y) = Pattern((x - 520) / 2, y / 2);
    dest->DitherFrom({0, 0}, *source, {0, 0, 100, 480}, 1);
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 99; ++x)
            at(x, y) = Pattern(x, y);
    EXPECT_TRUE(Pixels(*dest) == model);

    TestSurface half(320, 240);
    half->ShrinkFrom(*dest, 2);
    for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 0; x < 320; ++x)
            ASSERT_EQ(half->GetPixel({x, y}), at(2 * x, 2 * y));
}

TEST(CopyTest, TheWideSeeThroughCopyWritesWhatThePortableOneWrites) {
    std::mt19937 random(29);
    std::vector<uint8_t> line(300);
    for (int round = 0; round < 400; ++round) {
        const uint8_t transparent = round % 5 == 0 ? 0 : round % 5 == 1 ? 0xFF : static_cast<uint8_t>(random());
        // Runs of the transparent index and of others, at every length.
        for (size_t x = 0; x < line.size(); ++x)
            line[x] = (x / (1 + round % 9)) % 2 ? transparent : static_cast<uint8_t>(random());
        const size_t offset = random() % 40;
        const size_t count = round < 200 ? static_cast<size_t>(round) : random() % (line.size() - offset);
        std::vector<uint8_t> portable(count + 100), wide;
        for (uint8_t& pixel : portable)
            pixel = static_cast<uint8_t>(random());
        wide = portable;
        const std::vector<uint8_t> before = portable;
        CopySeeThrough(portable.data() + 50, line.data() + offset, count, transparent, false);
        CopySeeThrough(wide.data() + 50, line.data() + offset, count, transparent, true);
        ASSERT_EQ(wide, portable) << "round " << round << ": " << count << " pixels from " << offset;
        for (size_t x = 0; x < count; ++x)
            ASSERT_EQ(portable[50 + x], line[offset + x] != transparent ? line[offset + x] : before[50 + x]) << x;
    }
}
