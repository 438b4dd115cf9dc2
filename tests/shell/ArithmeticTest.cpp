#include "shell/BlockLayout.h"
#include "shell/CompanionPlacement.h"
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

TEST(CompanionPlacementTest, BesideWhereThereIsRoomElseCoveringTheLeastOfThePlayArea) {
    const TRect screen{0, 0, 1280, 1024};
    const TRect window = MakeBounds(365, 284, 550, 455);
    const TRect play = MakeBounds(384, 302, 512, 320);
    EXPECT_EQ(PlaceCompanion(screen, window, play, 290, 130), (TPoint{915 + CompanionGap, 284}));
    // No room on the right: on the left, top edges aligned.
    const TRect right = MakeBounds(700, 284, 550, 455);
    EXPECT_EQ(PlaceCompanion(screen, right, RectAddPt(play, {335, 0}), 290, 130), (TPoint{700 - 8 - 290, 284}));
    // A tall companion beside a window low on the screen is kept on it.
    EXPECT_EQ(PlaceCompanion(screen, MakeBounds(365, 900, 550, 455), play, 290, 300).Y, 1024 - 300);
    // The window fills the screen's width: nothing of the play area is covered
    // where that can be done.
    const TRect wide = MakeBounds(90, 57, 1100, 910);
    const TRect bigPlay = MakeBounds(128, 95, 1024, 640);
    TPoint at = PlaceCompanion(screen, wide, bigPlay, 580, 260);
    EXPECT_FALSE(RectsIntersect(MakeBounds(at.X, at.Y, 580, 260), bigPlay)) << at.X << "," << at.Y;
    EXPECT_TRUE(RectsIntersect(MakeBounds(at.X, at.Y, 580, 260), screen));
    // Nowhere free: the least covered place, still on the screen.
    TPoint cramped = PlaceCompanion({0, 0, 600, 400}, {0, 0, 600, 400}, {10, 10, 590, 390}, 200, 100);
    EXPECT_GE(cramped.X, 0);
    EXPECT_LE(cramped.X + 200, 600);
    EXPECT_LE(cramped.Y + 100, 400);
}

TEST(BlockLayoutTest, OpeningSizeIsTheWholeBlockAtTheScaleThatFits) {
    EXPECT_EQ(OpeningSize(1280, 1024, 0).Width, BlockWidth * 2);
    EXPECT_EQ(OpeningSize(1280, 1024, 0).Height, BlockHeight * 2);
    EXPECT_EQ(OpeningSize(800, 600, 0).Width, BlockWidth);
    EXPECT_EQ(OpeningSize(800, 600, 2).Height, BlockHeight * 2);
    EXPECT_EQ(OpeningSize(300, 200, 0).Width, BlockWidth) << "never below scale 1";
}
