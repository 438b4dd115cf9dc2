#include "EngineFixture.h"

#include "engine/HitBox.h"
#include "foundation/DiskSync.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "image/FrameSet.h"

#include <filesystem>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
std::vector<uint8_t> Bytes(const std::function<void(ByteStream&)>& write) {
    MemoryStream stream;
    write(stream);
    return stream.Data();
}

std::vector<uint8_t> Cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void OneRoom(TWorld& world) {
    auto room = std::make_unique<TRecordingRoom>("A");
    room->Flags = rfRetain;
    world.AddRoom(std::move(room));
    world.SetStartRoom("A");
}
} // namespace

// ---- Records, byte by byte ----

class RecordTest : public EngineFixture {};

TEST_F(RecordTest, EmptyWorldWritesTwelveBytes) {
    MakeWorld([](TWorld&) {});
    Game->Flags = wfBusy;
    EXPECT_EQ(Bytes([&](ByteStream& s) { Game->WriteGame(s); }), Hex("50 00 59 00 58 00 02 00 00 00 08 00"));
}

TEST_F(RecordTest, PlainRoomWritesSeventeenBytes) {
    MakeWorld([](TWorld&) {});
    TRoom room("R");
    room.SetPictureName("A");
    room.Flags = rfDrawn;
    EXPECT_EQ(Bytes([&](ByteStream& s) { room.SaveState(s); }),
              Hex("02 00 00 00 41 00  00 00 00 00  00 00 00 00  00 00  20"));
}

TEST_F(RecordTest, GoBoxRecord) {
    TGoBox box("D", {1, 2, 3, 4});
    box.SetTarget("HALL");
    EXPECT_EQ(Bytes([&](ByteStream& s) { box.SaveToStream(s); }),
              Hex("08  02 00 00 00 44 00  00 00  00  01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00  00"
                  "  04 00 00 00 48 41 4C 4C"));
}

TEST_F(RecordTest, ScriptBoxWritesItsExitKindAsAWord) {
    TScriptBox box("Q", {0, 0, 0, 0});
    box.SetExitKind("maybeexitgame");
    std::vector<uint8_t> bytes = Bytes([&](ByteStream& s) { box.SaveToStream(s); });
    ASSERT_EQ(bytes.size(), 1u + 6 + 2 + 1 + 16 + 1 + 2);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[7], 1); // cursor kind "ACTION"
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 2, bytes.end()), Hex("02 00"));
}

TEST_F(RecordTest, EveryBoxClassRoundTripsThroughAHitBoxList) {
    MakeWorld([](TWorld&) {}); // registers the classes
    TRoom room("R");
    room.AddHitBox(std::make_unique<TGoBox>("G", TRect{1, 2, 3, 4}));
    static_cast<TGoBox*>(room.FindHitBox("G"))->SetTarget("HALL");
    room.AddHitBox(std::make_unique<TReturnBox>("R", TRect{5, 6, 7, 8}))->SetEnabled(false);
    room.AddHitBox(std::make_unique<TScriptBox>("S", TRect{}));
    static_cast<TScriptBox*>(room.FindHitBox("S"))->ExitKind = ekAskQuit;
    room.AddHitBox(std::make_unique<TControlBox>("C", TRect{0, 0, 9, 9}));
    static_cast<TControlBox*>(room.FindHitBox("C"))->SetScript("btn");
    room.AddHitBox(std::make_unique<THitBox>("P", TRect{}))->SetCursorKind(ckNone);
    MemoryStream stream;
    room.HitBoxes.SaveToStream(stream);
    stream.Seek(0);
    THitBoxList copy;
    copy.LoadFromStream(stream);
    ASSERT_EQ(copy.Count(), 5);
    EXPECT_EQ(dynamic_cast<TGoBox&>(copy.GetBox("G")).Target, "HALL");
    EXPECT_EQ(copy.GetBox("G").Bounds, (TRect{1, 2, 3, 4}));
    EXPECT_TRUE(dynamic_cast<TReturnBox&>(copy.GetBox("R")).Disabled);
    EXPECT_EQ(dynamic_cast<TScriptBox&>(copy.GetBox("S")).ExitKind, ekAskQuit);
    auto& control = dynamic_cast<TControlBox&>(copy.GetBox("C"));
    EXPECT_EQ(control.Script, "BTN");
    EXPECT_TRUE(control.IsControl);
    EXPECT_EQ(copy.GetBox("P").CursorKind, ckNone);
    EXPECT_EQ(copy.Head()->GetID(), "P"); // order kept
}

TEST_F(RecordTest, NilTargetReadsAsEmptyAndForeignRecordsAreRefused) {
    MakeWorld([](TWorld&) {});
    MemoryStream stream(Hex("01 00  08  02 00 00 00 44 00  00 00  00  " + std::string(16 * 3, ' ') +
                            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  00  04 00 00 00 2F 4E 49 4C"));
    THitBoxList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(dynamic_cast<TGoBox&>(list.GetBox("D")).Target, "");
    MemoryStream foreign(Hex("01 00  0D  02 00 00 00 41 00"));
    EXPECT_THROW(list.LoadFromStream(foreign), KelException);
}

TEST_F(RecordTest, CoordinatesThatWouldOverflowWhenDrawnAreRefused) {
    MakeWorld([](TWorld&) {});
    TFrameSet bell("BELL", &Library, {}, 1, 10, "bell");
    bell.Position = {0x7fffffff, 0};
    MemoryStream frames;
    bell.SaveToStream(frames);
    frames.Seek(0);
    TFrameSet read("X", &Library, {}, 1, 10, "x");
    EXPECT_THROW(read.LoadFromStream(frames), KelException);

    THitBoxList boxes;
    boxes.AddTail(std::make_unique<TControlBox>("C", TRect{INT32_MIN, 0, 10, 10}));
    MemoryStream stream;
    boxes.SaveToStream(stream);
    stream.Seek(0);
    THitBoxList again;
    EXPECT_THROW(again.LoadFromStream(stream), KelException);
}

// ---- Saved games in memory ----

class ReadGameTest : public EngineFixture {};

TEST_F(ReadGameTest, VersionOneGameIsReadWithShortStrings) {
    MakeWorld(OneRoom);
    MemoryStream stream(Hex("50 00 59 00 58 00 01 00"
                            "  01 50  00 00  00 00"      // picture P, empty caption, inform
                            "  01 00  08 01 44 00 00 00" // one go box D
                            "  01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00 00" // bounds, not a control
                            "  04 00 00 00 48 41 4C 4C"                            // target HALL
                            "  00"                                                 // room flags
                            "  01 00  0D 01 41"                                    // stack [A]
                            "  80 00"));                                           // wfShift
    ASSERT_TRUE(Game->ReadGame(stream));
    TRoom& a = *Game->FindRoom("A");
    EXPECT_EQ(a.GetPictureName(), "P");
    EXPECT_EQ(dynamic_cast<TGoBox&>(a.HitBoxes.GetBox("D")).Target, "HALL");
    EXPECT_EQ(a.Flags, rfRetain); // kept although the file has it clear
    EXPECT_THAT(StackIDs(), ElementsAre("A"));
    EXPECT_TRUE(Game->HasFlag(wfShift));
    EXPECT_EQ(DataFormatVersion, CurrentDataFormatVersion);
}

TEST_F(ReadGameTest, HeaderWithVersionThreeOrZeroIsIgnored) {
    MakeWorld(OneRoom);
    for (const char* header :
         {"50 00 59 00 58 00 03 00", "50 00 59 00 58 00 00 00", "50 00 59 00 57 00 02 00"}) {
        MemoryStream stream(Cat(Hex(header), Hex("01 58 00 00 00 00 00 00 00 00 00")));
        EXPECT_FALSE(Game->ReadGame(stream));
        EXPECT_EQ(Game->FindRoom("A")->GetPictureName(), "pic");
    }
}

TEST_F(ReadGameTest, DiskRoomsAreNotWrittenAndRoomlessStackEntriesAreDropped) {
    MakeWorld(OneRoom);
    std::vector<uint8_t> plain = Bytes([&](ByteStream& s) { Game->WriteGame(s); });
    MakeWorld([](TWorld& world) {
        world.AddRoom(std::make_unique<TDiskOpsRoom>("DISK"));
        OneRoom(world);
        world.AddRoom(std::make_unique<TDiskOpsRoom>("DISK2"));
    });
    EXPECT_EQ(Bytes([&](ByteStream& s) { Game->WriteGame(s); }), plain);
    Game->RoomStack.Push(nullptr);
    Game->RoomStack.Push(Game->FindRoom("A"));
    std::vector<uint8_t> withStack = Bytes([&](ByteStream& s) { Game->WriteGame(s); });
    std::vector<uint8_t> tail(withStack.end() - 11, withStack.end());
    EXPECT_EQ(tail, Hex("01 00  0D 02 00 00 00 41 00  00 00"));
}

TEST_F(ReadGameTest, QuitAndBusyNeverComeBackFromASavedGame) {
    MakeWorld(OneRoom);
    Game->Flags = wfQuit | wfBusy | wfShift;
    MemoryStream stream;
    Game->WriteGame(stream);
    Game->Flags = 0;
    stream.Seek(0);
    ASSERT_TRUE(Game->ReadGame(stream));
    EXPECT_EQ(Game->Flags, wfShift);
}

TEST_F(ReadGameTest, ReadingReplacesTheScriptsBoxesAndMovesFrameSetsInPlace) {
    MakeWorld([](TWorld& world) {
        OneRoom(world);
        TRoom& a = *world.FindRoom("A");
        a.AddFrameSet(std::make_unique<TFrameSet>("F", world.Library(), TRect{1, 1, 2, 2}, 2, 10, "fwords"));
        a.AddHitBox(std::make_unique<TGoBox>("OLD", TRect{}));
    });
    TRoom& a = *Game->FindRoom("A");
    a.HitBoxes.Clear();
    a.AddHitBox(std::make_unique<TReturnBox>("NEW", TRect{}));
    a.FrameSets.Head()->Frame = 1;
    TFrameSet* frameSet = a.FrameSets.Head();
    MemoryStream stream;
    Game->WriteGame(stream);
    a.HitBoxes.Clear();
    a.AddHitBox(std::make_unique<TGoBox>("OLD", TRect{}));
    frameSet->Frame = 0;
    stream.Seek(0);
    ASSERT_TRUE(Game->ReadGame(stream));
    EXPECT_EQ(a.FindHitBox("OLD"), nullptr);
    EXPECT_NE(a.FindHitBox("NEW"), nullptr);
    EXPECT_EQ(a.FrameSets.Head(), frameSet);
    EXPECT_EQ(frameSet->Frame, 1);
}

// ---- Saved-game files ----

class SaveFileTest : public EngineFixture {};

TEST_F(SaveFileTest, SaveFromAPictureRoomStacksItAndLeavesTheGameInTheTitle) {
    MakeWorld(StandardRooms);
    Game->Start();
    Game->GoRoom("VOREL2");
    Game->SaveGame('1');
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("TITLE"));
    EXPECT_EQ(StackIDs().back(), "VOREL2");
    EXPECT_FALSE(Game->HasFlag(wfBusy));
    TSlotInfo info = InspectSaveFile(SlotPath('1'));
    EXPECT_TRUE(info.Valid);
    ASSERT_EQ(info.Thumbnail.size(), SaveThumbBytes);
    // The picture of VOREL2 reduced by 5: pixel (x, y) of the pattern at (5x, 5y).
    EXPECT_EQ(info.Thumbnail[1], 5);
    EXPECT_EQ(info.Thumbnail[SaveThumbWidth + 1], static_cast<uint8_t>(5 + 5 * 512));
}

TEST_F(SaveFileTest, TheNextStartRestoresTheRoomsAndStack) {
    MakeWorld(StandardRooms);
    Game->Start();
    Game->FindRoom("B")->SetCaption("Changed");
    Game->GoRoom("B");
    Game->SaveGame('1');
    MakeWorld(StandardRooms);
    EXPECT_TRUE(Platform.Messages.empty());
    EXPECT_EQ(Game->FindRoom("B")->GetCaption(), "Changed");
    EXPECT_THAT(StackIDs(), ElementsAre("A", "B"));
    EXPECT_EQ(Game->CurrentRoom(), nullptr); // a load does not change rooms
}

TEST_F(SaveFileTest, AnInterruptedSaveLeavesThePreviousFileWhole) {
    MakeWorld(StandardRooms);
    Game->Start();
    Game->SaveGame('2');
    std::vector<uint8_t> before = Dir.Read("games/PYX_sg2.dat");
    EXPECT_THROW(SaveFileAtomically(SlotPath('2'),
                                    [&](ByteStream& out) {
                                        FailingStream disk(20);
                                        Game->WriteGame(disk); // raises like a full disk
                                        out.Write(disk.Data().data(), disk.Data().size());
                                    }),
                 KelException);
    EXPECT_THROW(SaveFileAtomically(SlotPath('2'),
                                    [&](ByteStream& out) {
                                        Game->WriteGame(out);
                                        throw KelException("Write: disk full");
                                    }),
                 KelException);
    EXPECT_EQ(Dir.Read("games/PYX_sg2.dat"), before);
    EXPECT_FALSE(std::filesystem::exists(SlotPath('2') + ".new"));
    EXPECT_TRUE(Game->LoadGame('2'));
}

TEST_F(SaveFileTest, SavesAndTheirFolderArePrivateToTheUser) {
    namespace fs = std::filesystem;
    MakeWorld(StandardRooms);
    Game->Start();
    fs::create_directories(GamePath);
    fs::permissions(GamePath, fs::perms::all);
    Dir.Write("games/PYX_sg2.dat", std::string("an older save, readable by all"));
    fs::permissions(SlotPath('2'), fs::perms::all);
    Game->SaveGame('2');
    Game->SaveGame('3');
    EXPECT_EQ(fs::status(GamePath).permissions(), fs::perms::owner_all);
    for (char slot : {'2', '3'})
        EXPECT_EQ(fs::status(SlotPath(slot)).permissions(), fs::perms::owner_read | fs::perms::owner_write)
            << slot;
    EXPECT_TRUE(SyncToDisk(SlotPath('2')));
    EXPECT_FALSE(SyncToDisk(SlotPath('4')));
}

TEST_F(SaveFileTest, AFolderThatCannotBeMadeFailsTheSaveLoudly) {
    MakeWorld(StandardRooms);
    Game->Start();
    Dir.Write("blocker", std::string("a file, not a folder"));
    GamePath = Dir.File("blocker") + "/games/";
    try {
        Game->SaveGame('3');
        FAIL() << "the save reported success";
    } catch (const KelException& e) {
        EXPECT_THAT(e.what(), HasSubstr("SaveGame"));
        EXPECT_THAT(e.what(), testing::StartsWith("The pictures could not be saved"));
    }
    EXPECT_FALSE(Game->HasFlag(wfBusy));
}

TEST_F(SaveFileTest, LoadingAMissingSlotRaisesTheFileError) {
    MakeWorld(StandardRooms);
    EXPECT_THROW(Game->LoadGame('5'), FileOpenError);
    EXPECT_FALSE(Game->HasFlag(wfBusy));
}

TEST_F(SaveFileTest, OlderFileWithoutTrailerStillLoads) {
    MakeWorld(StandardRooms);
    Game->FindRoom("C")->SetCaption("Old");
    MemoryStream old;
    Game->WriteGame(old);
    std::filesystem::create_directories(GamePath);
    old.SaveToFile(SlotPath('1'));
    MakeWorld(StandardRooms);
    EXPECT_TRUE(Platform.Messages.empty());
    EXPECT_EQ(Game->FindRoom("C")->GetCaption(), "Old");
    TSlotInfo info = InspectSaveFile(SlotPath('1'));
    EXPECT_TRUE(info.Valid);
    EXPECT_TRUE(info.Thumbnail.empty());
}

TEST_F(SaveFileTest, StartWithAnUnreadableFileQuitsAndPassesTheErrorOn) {
    MakeWorld(StandardRooms);
    Dir.Write("broken.dat", Hex("50 00 59 00 58 00 02 00 05"));
    EXPECT_THROW(Game->Start(Dir.File("broken.dat")), KelException);
    EXPECT_TRUE(Game->HasFlag(wfQuit));
    EXPECT_FALSE(Game->HasFlag(wfBusy));
}

// ---- A damaged automatic save ----

class DamagedSaveTest : public EngineFixture {
protected:
    void WriteSlotOne(const std::vector<uint8_t>& bytes) {
        std::filesystem::create_directories(GamePath);
        Dir.Write("games/PYX_sg1.dat", bytes);
    }
    void ExpectFreshStartAfterOneReport(const std::string& reason) {
        ASSERT_EQ(Platform.Messages.size(), 1u);
        EXPECT_EQ(Platform.Messages[0].Kind, MessageKind::Warning);
        EXPECT_THAT(Platform.Messages[0].Text, HasSubstr(SlotPath('1')));
        EXPECT_THAT(Platform.Messages[0].Text, HasSubstr(reason));
        EXPECT_FALSE(std::filesystem::exists(SlotPath('1')));
        EXPECT_TRUE(std::filesystem::exists(SlotPath('1') + ".damaged"));
        EXPECT_EQ(Game->FindRoom("A")->GetCaption(), "");
        EXPECT_TRUE(Game->RoomStack.IsEmpty());
        Game->Start();
        EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
        // The next start finds nothing to complain about.
        Platform.Messages.clear();
        MakeWorld(StandardRooms);
        EXPECT_TRUE(Platform.Messages.empty());
    }
};

TEST_F(DamagedSaveTest, TruncatedFileIsKeptAsideAndTheRoomsStartAfresh) {
    MakeWorld(StandardRooms);
    Game->FindRoom("A")->SetCaption("Half read");
    Game->RoomStack.Push(Game->FindRoom("B"));
    MemoryStream full;
    Game->WriteGame(full);
    std::vector<uint8_t> bytes = full.Data();
    bytes.resize(bytes.size() - 6);
    WriteSlotOne(bytes);
    Platform.Messages.clear();
    int loads = 0;
    Game = std::make_unique<TWorld>(Platform, Window, View, Library);
    Game->ScriptLoader = [&loads](TWorld& world) {
        ++loads;
        StandardRooms(world);
    };
    Game->Initialise();
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(Dir.Read("games/PYX_sg1.dat.damaged"), bytes); // nothing lost
    ExpectFreshStartAfterOneReport("could not be read");
}

TEST_F(DamagedSaveTest, AHugeFileIsKeptAsideUnread) {
    MakeWorld(StandardRooms);
    MemoryStream game;
    Game->WriteGame(game);
    WriteSlotOne(game.Data());
    std::filesystem::resize_file(SlotPath('1'), MaxSaveFileSize + 1);
    EXPECT_FALSE(InspectSaveFile(SlotPath('1')).Valid);
    MakeWorld(StandardRooms);
    ExpectFreshStartAfterOneReport("far larger than a saved game");
}

TEST_F(DamagedSaveTest, WrongHeaderIsDamageAtStartUp) {
    WriteSlotOne(Hex("50 00 59 00 58 00 07 00 00 00 00 00"));
    MakeWorld(StandardRooms);
    ExpectFreshStartAfterOneReport("not a saved game");
}

TEST_F(DamagedSaveTest, AGameOfAnotherScriptIsNotMisread) {
    MakeWorld([](TWorld& world) {
        StandardRooms(world);
        world.FindRoom("A")->SetCaption("Other script");
        world.AddRoom(std::make_unique<TRecordingRoom>("EXTRA"));
    });
    Game->SaveGame('1', false);
    MakeWorld(StandardRooms);
    ExpectFreshStartAfterOneReport("other rooms");
}

TEST_F(DamagedSaveTest, AnEarlierDamagedFileIsNeverOverwritten) {
    WriteSlotOne(Hex("00"));
    Dir.Write("games/PYX_sg1.dat.damaged", std::string("first"));
    MakeWorld(StandardRooms);
    EXPECT_EQ(Dir.Read("games/PYX_sg1.dat.damaged"), std::vector<uint8_t>({'f', 'i', 'r', 's', 't'}));
    EXPECT_EQ(Dir.Read("games/PYX_sg1.dat.damaged2"), Hex("00"));
}
