#include "activity/PictureHistory.h"

#include <gtest/gtest.h>

namespace {
TPictureStep Step(uint8_t marker) {
    return {std::vector<uint8_t>(30, marker), {marker, -marker}};
}
} // namespace

TEST(PictureHistoryTest, UndoAndRedoWalkTheStepsAndANewStepDropsTheRedos) {
    TPictureHistory history;
    EXPECT_FALSE(history.Undo(Step(9)));
    EXPECT_FALSE(history.Redo(Step(9)));
    history.Record(Step(1));
    history.Record(Step(2));
    // State 3 is the picture now; undo goes to 2, then 1.
    std::optional<TPictureStep> back = history.Undo(Step(3));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Record, Step(2).Record);
    EXPECT_EQ(back->Placement, (TPoint{2, -2}));
    back = history.Undo(Step(2));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Record, Step(1).Record);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoCount(), 2u);

    std::optional<TPictureStep> forward = history.Redo(Step(1));
    ASSERT_TRUE(forward);
    EXPECT_EQ(forward->Record, Step(2).Record);
    EXPECT_EQ(history.UndoCount(), 1u);
    EXPECT_EQ(history.RedoCount(), 1u);

    history.Record(Step(2));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoCount(), 2u);
    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.MemoryBytes(), 0u);
}

TEST(PictureHistoryTest, KeepsTheNewestStepsUpToItsDepth) {
    TPictureHistory history;
    const size_t recorded = TPictureHistory::Depth + 20;
    for (size_t i = 0; i < recorded; ++i)
        history.Record(Step(static_cast<uint8_t>(i)));
    EXPECT_GE(TPictureHistory::Depth, 50u);
    EXPECT_EQ(history.UndoCount(), TPictureHistory::Depth);
    std::optional<TPictureStep> step;
    for (size_t i = 0; i < TPictureHistory::Depth; ++i)
        step = history.Undo(Step(0));
    ASSERT_TRUE(step);
    // The oldest twenty went; the oldest kept is the 21st recorded.
    EXPECT_EQ(step->Record, Step(20).Record);
    EXPECT_FALSE(history.Undo(Step(0)));
}

TEST(PictureHistoryTest, CountsTheMemoryOfItsRecords) {
    TPictureHistory history;
    TPictureStep roomy = Step(1);
    roomy.Record.reserve(4096);
    history.Record(roomy);
    // A record keeps no slack from the stream it was written into.
    EXPECT_GE(history.MemoryBytes(), 30u);
    EXPECT_LT(history.MemoryBytes(), 4096u);
    size_t one = history.MemoryBytes();
    history.Record(Step(2));
    EXPECT_GE(history.MemoryBytes(), one + 30);
}
