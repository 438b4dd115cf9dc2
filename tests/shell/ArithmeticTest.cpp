#include "shell/BlockLayout.h"
#include "shell/TickClock.h"

#include <gtest/gtest.h>

TEST(TickRounding, LateEventCountsOneAndLeavesBaseBehind) {
    TickStep step = ElapsedTicks(1080, 1000, 55);
    EXPECT_EQ(step.Count, 1u);
    EXPECT_EQ(1080 - step.NewBase, 25u);
}

TEST(TickRounding, VeryLateEventRoundsUpAndPutsBaseAhead) {
    TickStep step = ElapsedTicks(1140, 1000, 55);
    EXPECT_EQ(step.Count, 3u);
    EXPECT_EQ(step.NewBase - 1140, 25u);
}

TEST(TickRounding, EarlyEventCountsNothingAndKeepsBase) {
    TickStep step = ElapsedTicks(1020, 1000, 55);
    EXPECT_EQ(step.Count, 0u);
    EXPECT_EQ(step.NewBase, 1000u);
}

TEST(TickRounding, CounterWrapAroundLosesNothing) {
    TickStep step = ElapsedTicks(50, 0xFFFFFFFFu - 59, 55); // 110 ms across the wrap
    EXPECT_EQ(step.Count, 2u);
    EXPECT_EQ(step.NewBase, 50u);
}

TEST(TickRounding, BaseAheadOfClockCountsNothing) {
    // After rounding up, the next event may come before the base.
    TickStep step = ElapsedTicks(1000, 1020, 55);
    EXPECT_EQ(step.Count, 0u);
    EXPECT_EQ(step.NewBase, 1020u);
}

TEST(TickClockTest, TakesBaseOnFirstEventAndKeepsTimeOverManyEvents) {
    TickClock clock(55);
    EXPECT_EQ(clock.Advance(5000), 0u);
    EXPECT_EQ(clock.Base(), 5000u);
    uint32_t total = 0;
    for (uint32_t now = 5000 + 61; now <= 5000 + 61 * 100; now += 61)
        total += clock.Advance(now);
    // 6100 ms of 55 ms ticks is 110.9: rounded to the nearest, never drifting.
    EXPECT_EQ(total, 111u);
}

TEST(Centring, OriginalClientSizeMovesBlockByOnePixel) {
    TPoint offset = CentringOffset(538, 433, layout::Frame, layout::Thumbs[0].Bottom);
    EXPECT_EQ(offset.X, 1); // (538 - 514) / 2 - 11
    EXPECT_EQ(offset.Y, 1); // (433 - 425) / 2 - 3
}

TEST(Centring, SmallClientGivesNegativeOffsetsTruncatedTowardZero) {
    // (401 - 514) / 2 = -56 (not -57), minus 11; (300 - 425) / 2 = -62, minus 3.
    TPoint offset = CentringOffset(401, 300, layout::Frame, layout::Thumbs[0].Bottom);
    EXPECT_EQ(offset.X, -67);
    EXPECT_EQ(offset.Y, -65);
}

TEST(Centring, BlockEndsUpCentred) {
    TPoint offset = CentringOffset(1000, 800, layout::Frame, layout::Thumbs[0].Bottom);
    TRect frame = RectAddPt(layout::Frame, offset);
    EXPECT_EQ(frame.Left, 1000 - frame.Right);
    int thumbsBottom = layout::Thumbs[0].Bottom + offset.Y;
    EXPECT_LE(std::abs(frame.Top - (800 - thumbsBottom)), 3); // half the frame's top is kept above
}

TEST(Centring, BevelFramesPlayAreaAndThumbnails) {
    TRect bevel = BevelAround(layout::Frame, layout::Thumbs[0].Bottom, 1);
    EXPECT_EQ(bevel, (TRect{11 - 18, 6 - 18, 525 + 18, 425 + 18}));
    TRect doubled = BevelAround(ScaleRect(layout::Frame, 2), layout::Thumbs[0].Bottom * 2, 2);
    EXPECT_EQ(doubled, ScaleRect(bevel, 2));
}

TEST(ScaleChoice, LargestWholeScaleThatFits) {
    EXPECT_EQ(ChooseScale(538, 433, 0), 1);   // the original client: never below 1
    EXPECT_EQ(ChooseScale(1920, 1050, 0), 2); // height limits: 1050 / 455
    EXPECT_EQ(ChooseScale(3840, 2100, 0), 4);
    EXPECT_EQ(ChooseScale(BlockWidth * 3, BlockHeight * 3 - 1, 0), 2);
    EXPECT_EQ(ChooseScale(BlockWidth * 3, BlockHeight * 3, 0), 3);
}

TEST(ScaleChoice, ForcedScaleWins) {
    EXPECT_EQ(ChooseScale(3840, 2100, 1), 1);
    EXPECT_EQ(ChooseScale(538, 433, 3), 3);
}

TEST(MouseMapping, WindowPixelsMapBackToBlockPixels) {
    EXPECT_EQ(UnscalePoint({0, 0}, 3), (TPoint{0, 0}));
    EXPECT_EQ(UnscalePoint({2, 5}, 3), (TPoint{0, 1}));
    EXPECT_EQ(UnscalePoint({1535, 959}, 3), (TPoint{511, 319}));
    // Left of and above the widget stays outside it.
    EXPECT_EQ(UnscalePoint({-1, -4}, 3), (TPoint{-1, -2}));
}

TEST(MouseMapping, RepaintRectanglesRoundOutward) {
    EXPECT_EQ(UnscaleRect({1, 1, 5, 5}, 2), (TRect{0, 0, 3, 3}));
    EXPECT_EQ(ScaleRect({0, 0, 3, 3}, 2), (TRect{0, 0, 6, 6}));
    EXPECT_EQ(UnscaleRect({4, 4, 6, 6}, 2), (TRect{2, 2, 3, 3}));
}
