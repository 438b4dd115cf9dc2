#include "image/FrameSet.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "image/SurfaceTestSupport.h"
#include "image/ZQ5Tile.h"

#include <gtest/gtest.h>

namespace {

// Three frames of 3 x 2: frame k holds the letters 'a' + 6k onwards.
uint8_t StripPixel(int32_t x, int32_t y) {
    return static_cast<uint8_t>('a' + y * 3 + x);
}

class FrameSetTest : public ::testing::Test {
protected:
    FrameSetTest() : Files({{"strip", 3, 6, StripPixel}}), Target(5, 4) {
        Paint(*Target, {".....", ".....", ".....", "....."});
    }

    TestLibrary Files;
    TestSurface Target;
};

} // namespace

TEST_F(FrameSetTest, DrawsTheCurrentFrameAtItsPosition) {
    TFrameSet set("door", &Files.Library, {1, 1, 9, 9}, 3, 2, "STRIP");
    set.SetFrame(Target.Get(), 1);
    EXPECT_EQ(Picture(*Target), (std::vector<std::string>{".....", ".ghi.", ".jkl.", "....."}));
    set.SetFrame(Target.Get(), 3); // not a frame: nothing changes
    EXPECT_EQ(set.Frame, 1);
    set.ChangeFrame(Target.Get(), 7, false);
    EXPECT_EQ(set.Frame, 7);
    set.ChangeFrame(Target.Get(), 2, true);
    EXPECT_EQ(Picture(*Target)[1], ".mno.");
    set.Visible = false;
    set.SetFrame(Target.Get(), 0);
    EXPECT_EQ(Picture(*Target)[1], ".mno.");
}

TEST_F(FrameSetTest, TildeMirrorsLeftToRightAndCaretTopToBottom) {
    TFrameSet across("door~", &Files.Library, {0, 0, 0, 0}, 3, 2, "strip");
    across.DrawAt(Target.Get(), {0, 0});
    EXPECT_EQ(Picture(*Target)[0], "cba..");
    EXPECT_EQ(Picture(*Target)[1], "fed..");
    TFrameSet upside("^door", &Files.Library, {0, 0, 0, 0}, 3, 2, "strip");
    upside.ChangeFrame(nullptr, 1, false);
    upside.DrawAt(Target.Get(), {2, 2});
    EXPECT_EQ(Picture(*Target)[2], "..jkl");
    EXPECT_EQ(Picture(*Target)[3], "..ghi");
}

TEST_F(FrameSetTest, WithoutALibraryNothingIsDrawnAndFramesReleaseTheirImage) {
    TFrameSet lost("lost", nullptr, {0, 0, 0, 0}, 3, 2, "strip");
    lost.Draw(Target.Get());
    EXPECT_FALSE(lost.LoadFrames());
    EXPECT_EQ(Picture(*Target)[0], ".....");
    TFrameSet set("door", &Files.Library, {0, 0, 0, 0}, 3, 2, "strip");
    ASSERT_TRUE(set.LoadFrames());
    EXPECT_EQ(set.Node()->UseCount, 1);
    set.ReleaseFrames();
    EXPECT_EQ(set.Node(), nullptr);
    EXPECT_TRUE(Files.Library.Images().IsEmpty());
}

TEST(FrameSetPersistenceTest, RecordBytesAndReadingBack) {
    TFrameSet set("Door~", nullptr, {5, 6, 50, 60}, 3, 10, "doorimage123");
    set.ChangeFrame(nullptr, 2, false);
    MemoryStream stream;
    set.SaveToStream(stream);
    EXPECT_EQ(stream.Data(), Hex("02"                                         // class id
                                 " 0a 00 00 00 44 00 4f 00 4f 00 52 00 7e 00" // ID "DOOR~"
                                 " 08 00 00 00 64 6f 6f 72 69 6d 61 67"       // image name, cut to 8
                                 " 02 00 03 00 01"                            // frame, frame count, visible
                                 " 05 00 00 00 06 00 00 00"));                // position
    RegisterImageNodeClasses();
    stream.Seek(0);
    std::unique_ptr<TKelNode> node = ReadNode(stream);
    auto* read = dynamic_cast<TFrameSet*>(node.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetID(), "DOOR~");
    EXPECT_EQ(read->ImageName, "doorimag");
    EXPECT_EQ(read->Frame, 2);
    EXPECT_EQ(read->FrameCount, 3);
    EXPECT_TRUE(read->Visible);
    EXPECT_EQ(read->Position, (TPoint{5, 6}));

    TFrameSet existing("other", nullptr, {0, 0, 0, 0}, 1, 77, "x");
    stream.Seek(1);
    existing.LoadFromStream(stream);
    EXPECT_EQ(existing.GetID(), "DOOR~");
    EXPECT_EQ(existing.FrameHeight, 77);
    EXPECT_EQ(existing.FrameCount, 3);
}

TEST(FrameSetListTest, FindsByIdOrRaisesNilPointer) {
    TFrameSetList list;
    list.AddTail(std::make_unique<TFrameSet>("door", nullptr, TRect{}, 1, 1, "x"));
    EXPECT_EQ(list.Find("DOOR").ImageName, "x");
    EXPECT_EQ(&list.Find("door"), list.Head());
    try {
        list.Find("window");
        FAIL() << "found a frame set that does not exist";
    } catch (const KelException& error) {
        EXPECT_STREQ(error.what(), "NIL pointer detected");
    }
}

TEST(TilePositionsTest, GridAnchoredAtTheCornerWithOnlyTilesMeetingTheClip) {
    std::vector<TPoint> expected;
    for (int32_t y : {64, 128, 192})
        for (int32_t x : {64, 128, 192, 256})
            expected.push_back({x, y});
    EXPECT_EQ(TilePositions({100, 70, 300, 200}, 64, 64), expected);
    EXPECT_EQ(TilePositions({0, 0, 64, 64}, 64, 64), (std::vector<TPoint>{{0, 0}}));
    EXPECT_EQ(TilePositions({-10, -1, 5, 3}, 64, 64),
              (std::vector<TPoint>{{-64, -64}, {0, -64}, {-64, 0}, {0, 0}}));
    EXPECT_TRUE(TilePositions({10, 10, 10, 50}, 64, 64).empty());
    EXPECT_TRUE(TilePositions({0, 0, 50, 50}, 0, 64).empty());
}
