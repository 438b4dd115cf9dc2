#include "EngineFixture.h"

#include "foundation/ResStrings.h"
#include "image/HotImage.h"

#include <array>

#include <filesystem>

using ::testing::ElementsAre;

namespace {
TPoint SlotAt(int slot) {
    return {(slot - 1) % 4 * 122 + 20 + 10, slot <= 4 ? 52 : 134};
}
} // namespace

class DiskOpsRoomTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeWorld([](TWorld& world) {
            StandardRooms(world);
            TRoom& disk = *world.FindRoom("DISK");
            for (int slot = 1; slot <= 8; ++slot) {
                TPoint p = SlotAt(slot);
                AddControl(disk, std::string(1, static_cast<char>('0' + slot)),
                           MakeBounds(p.X - 10, p.Y - 10, 106, 68));
            }
            AddControl(disk, "S", MakeBounds(20, 236, 106, 68));
            AddControl(disk, "X", MakeBounds(386, 211, 106, 43));
            AddControl(disk, "R", MakeBounds(386, 261, 106, 43));
            AddControl(disk, "C", MakeBounds(386, 8, 106, 28));
            AddControl(disk, "M", MakeBounds(150, 300, 10, 10));
            AddControl(disk, "Z", MakeBounds(170, 300, 10, 10));
        });
        Game->Start();
        Disk = dynamic_cast<TDiskOpsRoom*>(Game->FindRoom("DISK"));
    }
    static void AddControl(TRoom& room, const std::string& id, const TRect& bounds) {
        room.AddHitBox(std::make_unique<TControlBox>(id, bounds))->IsControl = true;
        static_cast<TControlBox*>(room.FindHitBox(id))->SetScript("BTN");
    }
    void Click(TPoint p) {
        Game->ViewMouseDown(0, ssLeft, p.X, p.Y);
        Game->ViewMouseUp(0, {}, p.X, p.Y);
    }
    void EnterFrom(const std::string& from) {
        Game->GoRoom(from);
        Game->GoRoom("DISK");
    }
    TDiskOpsRoom* Disk = nullptr;
};

TEST_F(DiskOpsRoomTest, ButtonIndexesAreSingleCharactersOfTheButtonText) {
    EXPECT_EQ(TDiskOpsRoom::ButtonIndex("1"), 1);
    EXPECT_EQ(TDiskOpsRoom::ButtonIndex("S"), 9);
    EXPECT_EQ(TDiskOpsRoom::ButtonIndex("C"), 14);
    EXPECT_EQ(TDiskOpsRoom::ButtonIndex("Z"), 0);
    EXPECT_EQ(TDiskOpsRoom::ButtonIndex("12"), 0);
    EXPECT_EQ(TDiskOpsRoom::ButtonIndex(""), 0);
}

TEST_F(DiskOpsRoomTest, DrawsOnItsFillColourWithEmptySlots) {
    EnterFrom("TITLE");
    TZQ5ImageData& screen = *Game->Screen();
    EXPECT_EQ(screen.GetPixel({5, 5}), TDiskOpsRoom::FillColour);
    // Slot 1 shows the empty frame: sprite (0,48) of the sheet, pattern base 3.
    EXPECT_EQ(screen.GetPixel({20, 42}), static_cast<uint8_t>(3 + 48 * 264));
    // The current game's picture: the title's solid colour 7 reduced.
    EXPECT_EQ(screen.GetPixel({22 + 50, 238 + 30}), 7);
    EXPECT_TRUE(Disk->GetGameSaved());
}

TEST_F(DiskOpsRoomTest, UnknownIDsTakeNoCaptureAndMDoesNothing) {
    EnterFrom("A");
    Game->ViewMouseDown(0, ssLeft, 175, 305);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    Click({155, 305});
    EXPECT_EQ(Game->CurrentRoom(), Disk);
    EXPECT_TRUE(Platform.Messages.empty());
    EXPECT_FALSE(std::filesystem::exists(GamePath));
}

TEST_F(DiskOpsRoomTest, SaveWithNoSlotsTakenSavesIntoSlotTwoAndStays) {
    EnterFrom("TITLE");
    Click({30, 250});
    EXPECT_EQ(Game->CurrentRoom(), Disk);
    // Slot 1 is written at every close: a save there would be lost.
    EXPECT_FALSE(Disk->IsOccupied(1));
    EXPECT_FALSE(std::filesystem::exists(SlotPath('1')));
    EXPECT_TRUE(Disk->IsOccupied(2));
    EXPECT_TRUE(Disk->HasThumbnail(2));
    TSlotInfo info = InspectSaveFile(SlotPath('2'));
    ASSERT_TRUE(info.Valid);
    EXPECT_EQ(info.Thumbnail, std::vector<uint8_t>(SaveThumbBytes, 7));
    EXPECT_EQ(Game->Screen()->GetPixel({144 + 5, 44 + 5}), 7); // the slot shows the picture
    Click({30, 250});
    EXPECT_TRUE(Disk->IsOccupied(3));
}

TEST_F(DiskOpsRoomTest, TheAutomaticSlotLoadsButIsNeverOfferedForSaving) {
    for (char slot = '1'; slot <= '8'; ++slot)
        Game->SaveGame(slot, false);
    std::filesystem::remove(SlotPath('1'));
    EnterFrom("TITLE");
    Click({30, 250});
    EXPECT_TRUE(Disk->GetOverwriteMode()) << "a free slot 1 is no place for a save";
    Click(SlotAt(1));
    EXPECT_TRUE(Disk->GetOverwriteMode()) << "slot 1 is not offered for overwriting";
    EXPECT_FALSE(std::filesystem::exists(SlotPath('1')));
    Click(SlotAt(4));
    EXPECT_FALSE(Disk->GetOverwriteMode());

    Game->FindRoom("B")->SetCaption("At close");
    Game->SaveGame('1', false);
    Game->FindRoom("B")->SetCaption("Now");
    EnterFrom("TITLE");
    Click(SlotAt(1));
    EXPECT_EQ(Game->FindRoom("B")->GetCaption(), "At close");
}

TEST_F(DiskOpsRoomTest, LoadingAsksUnlessComingFromTheTitle) {
    Game->FindRoom("B")->SetCaption("Saved");
    Game->SaveGame('2', false);
    Game->FindRoom("B")->SetCaption("Now");
    EnterFrom("A");
    Click(SlotAt(2));
    Click(SlotAt(2));
    EXPECT_THAT(Texts(), ElementsAre(LoadResString(SAbandonGame), LoadResString(SAbandonGame)));
    EXPECT_EQ(Game->FindRoom("B")->GetCaption(), "Now");
    Platform.Answers.push_back(MessageResult::Yes);
    Click(SlotAt(2));
    EXPECT_EQ(Game->FindRoom("B")->GetCaption(), "Saved");
    EXPECT_EQ(Game->CurrentRoom(), Disk);
    Platform.Messages.clear();
    Game->FindRoom("B")->SetCaption("Now");
    EnterFrom("TITLE");
    Click(SlotAt(2));
    EXPECT_TRUE(Platform.Messages.empty());
    EXPECT_EQ(Game->FindRoom("B")->GetCaption(), "Saved");
}

TEST_F(DiskOpsRoomTest, ClickingAnEmptySlotDoesNothing) {
    EnterFrom("A");
    Click(SlotAt(4));
    EXPECT_TRUE(Platform.Messages.empty());
    EXPECT_EQ(Game->CurrentRoom(), Disk);
}

TEST_F(DiskOpsRoomTest, OlderFilesWithoutPictureStillCountAsTaken) {
    MemoryStream old;
    Game->WriteGame(old);
    std::filesystem::create_directories(GamePath);
    old.SaveToFile(SlotPath('1'));
    Dir.Write("games/PYX_sg2.dat", Hex("50 00 59 00 58 00 09 00")); // not a saved game
    EnterFrom("TITLE");
    EXPECT_TRUE(Disk->IsOccupied(1));
    EXPECT_FALSE(Disk->HasThumbnail(1));
    EXPECT_FALSE(Disk->IsOccupied(2));
    Click({30, 250});
    EXPECT_TRUE(InspectSaveFile(SlotPath('2')).Valid);
}

TEST_F(DiskOpsRoomTest, AnUnreadableSlotFileIsKeptAsideNotOverwritten) {
    Game->SaveGame('1', false);
    const std::vector<uint8_t> damaged = Hex("50 00 59 00 58 00 09 00 41 42");
    Dir.Write("games/PYX_sg2.dat", damaged);
    Dir.Write("games/PYX_sg2.dat.damaged", std::string("kept from before"));
    EnterFrom("TITLE");
    EXPECT_FALSE(Disk->IsOccupied(2));
    Click({30, 250});
    EXPECT_TRUE(InspectSaveFile(SlotPath('2')).Valid);
    EXPECT_EQ(Dir.Read("games/PYX_sg2.dat.damaged2"), damaged);
    EXPECT_EQ(Dir.Read("games/PYX_sg2.dat.damaged").size(), 16u);
    EXPECT_TRUE(Texts().empty());
}

TEST_F(DiskOpsRoomTest, FullSlotsEnterOverwriteModeWithAFlashingBanner) {
    for (char slot = '1'; slot <= '8'; ++slot)
        Game->SaveGame(slot, false);
    auto before = std::filesystem::last_write_time(SlotPath('3'));
    EnterFrom("TITLE");
    Click({30, 250});
    EXPECT_TRUE(Disk->GetOverwriteMode());
    EXPECT_FALSE(Disk->GetFlashPhase());
    Ticks(7);
    EXPECT_TRUE(Disk->GetFlashPhase());
    Ticks(6);
    EXPECT_FALSE(Disk->GetFlashPhase());
    std::filesystem::last_write_time(SlotPath('3'), before - std::chrono::hours(1));
    Click(SlotAt(3));
    EXPECT_FALSE(Disk->GetOverwriteMode());
    EXPECT_GT(std::filesystem::last_write_time(SlotPath('3')), before - std::chrono::minutes(1));
    EXPECT_EQ(Disk->FindTimer(tsFlash), nullptr);
    EXPECT_TRUE(Platform.Messages.empty()); // overwriting never asks to load
    Click({30, 250});
    EXPECT_TRUE(Disk->GetOverwriteMode());
    Click({390, 20});
    EXPECT_FALSE(Disk->GetOverwriteMode());
    EXPECT_EQ(Disk->FindTimer(tsFlash), nullptr);
}

TEST_F(DiskOpsRoomTest, QuitAsksAndReturnGoesBack) {
    EnterFrom("B");
    Click({400, 220});
    EXPECT_THAT(Texts(), ElementsAre("Do you really want to quit the game?"));
    EXPECT_FALSE(Game->HasFlag(wfQuit));
    Platform.Answers.push_back(MessageResult::Yes);
    Click({400, 220});
    EXPECT_TRUE(Game->HasFlag(wfQuit));
    Click({400, 270});
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
}

TEST_F(DiskOpsRoomTest, ADragOutsideReleasesTheButtonAndTheReleaseDoesNothing) {
    EnterFrom("B");
    Game->ViewMouseDown(0, ssLeft, 400, 270);
    EXPECT_EQ(Disk->GetPressedButton(), 13);
    Game->ViewMouseMove({}, 10, 10);
    Game->ViewMouseMove({}, 400, 270);
    Game->ViewMouseMove({}, 10, 10);
    EXPECT_NE(Game->CapturedBox(), nullptr);
    Game->ViewMouseUp(0, {}, 10, 10);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    EXPECT_EQ(Disk->GetPressedButton(), 0);
    EXPECT_EQ(Game->CurrentRoom(), Disk);
}

TEST_F(DiskOpsRoomTest, LeavingReleasesTheThumbnails) {
    Game->SaveGame('1', false);
    EnterFrom("TITLE");
    EXPECT_TRUE(Disk->HasThumbnail(0));
    EXPECT_TRUE(Disk->HasThumbnail(1));
    Game->GoRoom("A");
    EXPECT_FALSE(Disk->HasThumbnail(0));
    EXPECT_FALSE(Disk->HasThumbnail(1));
}

TEST_F(DiskOpsRoomTest, ASlotThatFailsHalfWayIsReportedAndChangesNothing) {
    Game->FindRoom("B")->SetCaption("Saved");
    Game->SaveGame('2', false);
    std::vector<uint8_t> bytes = Dir.Read("games/PYX_sg2.dat");
    // Keep the trailer but cut the room records short: a corrupt record.
    MemoryStream head;
    Game->WriteGame(head);
    std::vector<uint8_t> damaged;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (i < 40 || i >= head.Data().size()) damaged.push_back(bytes[i]);
    Dir.Write("games/PYX_sg2.dat", damaged);
    Game->FindRoom("B")->SetCaption("Now");
    Game->FindRoom("A")->SetCaption("Mine");
    EnterFrom("TITLE");
    Click(SlotAt(2));
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(Texts()[0].find("Quit game?"), std::string::npos);
    EXPECT_EQ(Game->FindRoom("A")->GetCaption(), "Mine");
    EXPECT_EQ(Game->FindRoom("B")->GetCaption(), "Now");
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    EXPECT_FALSE(Game->HasFlag(wfBusy));
}

TEST_F(DiskOpsRoomTest, TheSavedPictureIsTheFourMiniaturesSideBySide) {
    // Four thumbnails, each a framed miniature of its own colour with a
    // one-pixel ink line through it, where every fifth pixel misses it.
    std::array<std::unique_ptr<THotImage>, 5> thumbs;
    for (int i = 1; i <= 4; ++i) {
        thumbs[i] = THotImage::CreateBlankInLibrary(129, Library, 79);
        TZQ5ImageData& surface = thumbs[i]->ImageData();
        surface.FillRect(surface.BoundsRect(), 250); // the frame
        surface.FillRect(MiniatureArea, static_cast<uint8_t>(10 * i + 1));
        surface.FillRect({MiniatureArea.Left, 40, MiniatureArea.Right, 41}, MiniatureInk);
        PictureThumbs[static_cast<size_t>(i)] = thumbs[i].get();
    }
    EnterFrom("A");
    Click({30, 250});
    for (auto& thumb : PictureThumbs)
        thumb = nullptr;
    TSlotInfo info = InspectSaveFile(SlotPath('2'));
    ASSERT_EQ(info.Thumbnail.size(), SaveThumbBytes);
    auto at = [&info](int x, int y) { return info.Thumbnail[static_cast<size_t>(y * SaveThumbWidth + x)]; };
    for (int i = 1; i <= 4; ++i) {
        int left = (i - 1) % 2 * 51, top = (i - 1) / 2 * 32;
        EXPECT_EQ(at(left, top), 10 * i + 1) << "no frame in the picture, quarter " << i;
        EXPECT_EQ(at(left + 50, top + 31), 10 * i + 1) << i;
        int inkLines = 0;
        for (int y = top; y < top + 32; ++y)
            inkLines += at(left + 25, y) == MiniatureInk;
        EXPECT_EQ(inkLines, 1) << "the line survives once in quarter " << i;
    }
    EXPECT_EQ(Game->Screen()->GetPixel({144 + 2, 44 + 2}), 11) << "the slot shows the new picture";
}
