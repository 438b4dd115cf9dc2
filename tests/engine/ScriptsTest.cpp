#include "engine/Scripts.h"

#include "engine/DiskOpsRoom.h"
#include "engine/HitBox.h"
#include "engine/ObfText.h"
#include "engine/Room.h"
#include "engine/TitleRoom.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Text.h"
#include "image/FrameSet.h"
#include "image/ZQ5Library.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {
// Stands in for the colouring room, which registers its own kind elsewhere.
class TTestVorelRoom : public TRoom {
public:
    using TRoom::TRoom;
};

const std::string ErrorPrefix = "Script Error:\r\n\r\n";

class ScriptTest : public ::testing::Test {
protected:
    void TearDown() override { RegisterRoomKind("VOREL", nullptr); }

    // Runs the lines through the parser as the loader does and returns the
    // current room after the last one.
    TRoom* Parse(const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            Current = ParseScriptLine(World, line, Current);
        return Current;
    }

    // Writes the lines as they stand (no conversion) into the scrambled form.
    void WriteData(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        MemoryStream source(std::vector<uint8_t>(text.begin(), text.end()));
        std::vector<uint8_t> bytes = TObfText::MakePlain(source, [](std::string&) { return true; });
        ObfScramble(bytes);
        Dir.Write(ScriptDataName, bytes);
    }

    void Load() { LoadScriptFiles(World, Dir.File(ScriptTextName), Dir.File(ScriptDataName)); }

    void SetAge(const std::string& name, int secondsAgo) {
        std::filesystem::last_write_time(Dir.File(name), Now - std::chrono::seconds(secondsAgo));
    }

    TRoom& Room(const std::string& id) {
        TRoom* room = World.FindRoom(id);
        EXPECT_NE(room, nullptr) << id;
        if (!room) throw std::runtime_error("no room " + id);
        return *room;
    }

    template <class Box> Box& BoxOf(TRoom& room, const std::string& id) {
        auto* box = dynamic_cast<Box*>(room.FindHitBox(id));
        EXPECT_NE(box, nullptr) << id;
        if (!box) throw std::runtime_error("no box " + id);
        return *box;
    }

    std::vector<std::string> Errors() const { return Platform.MessageTexts(); }

    FakePlatform Platform;
    FakeMainWindow Window;
    FakeDisplayTarget View{PlayAreaWidth, PlayAreaHeight};
    TZQ5Library Library;
    TWorld World{Platform, Window, View, Library};
    TRoom* Current = nullptr;
    TempDir Dir;
    std::filesystem::file_time_type Now = std::filesystem::file_time_type::clock::now();
};
} // namespace

TEST_F(ScriptTest, CommentsAndEmptyLinesChangeNothing) {
    Parse({"ROOM R1", "PIC first", "  # PIC x", "", " \t ", "#"});
    EXPECT_EQ(Room("R1").GetPictureName(), "first");
    Parse({"PIC"});
    EXPECT_EQ(Room("R1").GetPictureName(), "");
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScriptTest, PictureKeepsOnlyItsFirstWordAsWritten) {
    Parse({"ROOM R1", "PIC Hall2 extra words", "INFORMONENTRY Welcome to  the hall"});
    EXPECT_EQ(Room("R1").GetPictureName(), "Hall2");
    EXPECT_EQ(Room("R1").GetInformText(), "Welcome to  the hall");
}

TEST_F(ScriptTest, RoomDeclarationsCreateTheRegisteredKinds) {
    RegisterRoomKind("VOREL", [](const std::string& id) { return std::make_unique<TTestVorelRoom>(id); });
    Parse({"BEGIN title", "TITLEROOM TITLE Vorel", "ROOM r1", "VORELROOM VOREL1 My picture",
           "DISKOPSROOM DISK"});
    EXPECT_EQ(World.GetStartRoom(), "TITLE");
    EXPECT_NE(dynamic_cast<TTitleRoom*>(&Room("TITLE")), nullptr);
    EXPECT_EQ(typeid(Room("R1")), typeid(TRoom));
    EXPECT_EQ(Room("R1").GetCaption(), "");
    EXPECT_NE(dynamic_cast<TTestVorelRoom*>(&Room("VOREL1")), nullptr);
    EXPECT_EQ(Room("VOREL1").GetCaption(), "My picture");
    EXPECT_NE(dynamic_cast<TDiskOpsRoom*>(&Room("DISK")), nullptr);
    EXPECT_EQ(Current, &Room("DISK"));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScriptTest, UnknownRoomKindIsReportedAndTheLinesStayWithThePreviousRoom) {
    Parse({"ROOM R1", "INITROOM X", "PIC after"});
    EXPECT_EQ(Errors(), std::vector<std::string>{ErrorPrefix + "Can't create room \"X\""});
    EXPECT_EQ(World.FindRoom("X"), nullptr);
    EXPECT_EQ(Room("R1").GetPictureName(), "after");

    // Without the colouring activity the VOREL kind is unknown as well.
    Parse({"VORELROOM VOREL1 My picture"});
    EXPECT_EQ(Errors().back(), ErrorPrefix + "Can't create room \"VOREL1\"");
}

TEST_F(ScriptTest, RoomWhoseConstructorFailsIsReported) {
    RegisterRoomKind("VOREL", [](const std::string&) -> std::unique_ptr<TRoom> { throw StdException("no"); });
    EXPECT_EQ(Parse({"VORELROOM V1"}), nullptr);
    EXPECT_EQ(Errors(), std::vector<std::string>{ErrorPrefix + "Can't create room \"V1\""});
    // An error box for the script, with an OK button.
    EXPECT_EQ(Platform.Messages[0].Kind, MessageKind::Error);
    EXPECT_EQ(Platform.Messages[0].Buttons, MessageButtons::Ok);
}

TEST_F(ScriptTest, PrologueAcceptsOnlyBeginAndRooms) {
    Parse({"XYZ", "BEGIN", "pic x"});
    EXPECT_EQ(Errors(), (std::vector<std::string>{ErrorPrefix + "Unknown command \"XYZ\" in prologue",
                                                  ErrorPrefix + "Unknown command \"pic\" in prologue"}));
    EXPECT_EQ(World.GetStartRoom(), "");
    Parse({"ROOM R1", "XYZ 1 2 3", "BEGIN R2"});
    EXPECT_EQ(Errors().size(), 2u); // commands unknown inside a room pass silently
    EXPECT_EQ(World.GetStartRoom(), "");
}

TEST_F(ScriptTest, TypedBoxCommandsMakeTheirClasses) {
    Parse({"ROOM R1", "GOBOX b 0 0 10 10 hall ACTION", "ROOMSCRIPTBOX rs 1 2 3 4 paint",
           "SCRIPTBOX quit 5 5 5 5 ExitGame", "CONTROLBOX c 0 0 1 1 click", "SAYBOX s 0 0 1 1 say NONE"});
    TRoom& room = Room("R1");
    TGoBox& go = BoxOf<TGoBox>(room, "B");
    EXPECT_EQ(go.Target, "HALL");
    EXPECT_EQ(go.CursorKind, ckAction);
    EXPECT_EQ(go.Bounds, (TRect{0, 0, 10, 10}));
    TRoomScriptBox& roomScript = BoxOf<TRoomScriptBox>(room, "RS");
    EXPECT_EQ(typeid(roomScript), typeid(TRoomScriptBox));
    EXPECT_EQ(roomScript.Script, "PAINT");
    EXPECT_EQ(roomScript.Bounds, (TRect{1, 2, 4, 6}));
    EXPECT_EQ(BoxOf<TScriptBox>(room, "QUIT").ExitKind, ekQuit);
    EXPECT_EQ(BoxOf<TControlBox>(room, "C").Script, "CLICK");
    EXPECT_EQ(BoxOf<TControlBox>(room, "C").CursorKind, ckAction); // the class's default
    EXPECT_EQ(BoxOf<TControlBox>(room, "S").CursorKind, ckNone);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScriptTest, LaterBoxesAreFoundFirst) {
    Parse({"ROOM R1", "GOBOX under 0 0 100 100 a", "GOBOX over 10 10 20 20 b"});
    EXPECT_EQ(Room("R1").HitBoxes.FindAt(15, 15)->GetID(), "OVER");
    EXPECT_EQ(Room("R1").HitBoxes.FindAt(5, 5)->GetID(), "UNDER");
}

TEST_F(ScriptTest, BadCursorKeywordKeepsTheBoxWithItsDefaultCursor) {
    Parse({"ROOM R1", "GOBOX B 0 0 10 10 hall ACTION EXTRA"});
    EXPECT_EQ(Errors(), std::vector<std::string>{ErrorPrefix + "Invalid cursor keyword \"ACTION EXTRA\""});
    TGoBox& box = BoxOf<TGoBox>(Room("R1"), "B");
    EXPECT_EQ(box.Target, "HALL");
    EXPECT_EQ(box.CursorKind, ckDefault);
}

TEST_F(ScriptTest, HitBoxMakesEveryTypeWithItsDefaults) {
    Parse({"ROOM R1", "HITBOX go g 0 0 1 1 ignored words", "HBX RETURN r 0 0 1 1", "HITBOX SCRIPT s 0 0 1 1",
           "HITBOX ROOMSCRIPT rs 0 0 1 1", "HITBOX CONTROL c 0 0 1 1"});
    TRoom& room = Room("R1");
    EXPECT_EQ(BoxOf<TGoBox>(room, "G").Target, "");
    EXPECT_NE(dynamic_cast<TReturnBox*>(room.FindHitBox("R")), nullptr);
    EXPECT_EQ(BoxOf<TScriptBox>(room, "S").CursorKind, ckAction);
    EXPECT_EQ(typeid(BoxOf<TRoomScriptBox>(room, "RS")), typeid(TRoomScriptBox));
    EXPECT_TRUE(BoxOf<TControlBox>(room, "C").IsControl);
    EXPECT_TRUE(Errors().empty());
    Parse({"HITBOX DOOR x 0 0 1 1"});
    EXPECT_EQ(Errors(), std::vector<std::string>{ErrorPrefix + "Invalid hitbox type \"DOOR\" (ID=\"X\")"});
    EXPECT_EQ(room.FindHitBox("X"), nullptr);
}

TEST_F(ScriptTest, HitCommandsChangeExistingBoxes) {
    Parse({"ROOM R1", "HITBOX GO g 0 0 1 1", "HITBOX SCRIPT s 0 0 1 1", "HITBOX CONTROL c 0 0 1 1",
           "HITBOX RETURN r 0 0 1 1", "HITACTION g kitchen", "HACT s maybeexitgame", "HACT c press",
           "HACT r x", "HITDISABLE s", "HITCURSOR g brush", "HCUR c dynamic1 ignored"});
    TRoom& room = Room("R1");
    EXPECT_EQ(BoxOf<TGoBox>(room, "G").Target, "KITCHEN");
    EXPECT_EQ(BoxOf<TGoBox>(room, "G").CursorKind, ckBrush);
    EXPECT_EQ(BoxOf<TScriptBox>(room, "S").ExitKind, ekAskQuit);
    EXPECT_TRUE(BoxOf<TScriptBox>(room, "S").Disabled);
    EXPECT_EQ(BoxOf<TControlBox>(room, "C").Script, "PRESS");
    EXPECT_EQ(BoxOf<TControlBox>(room, "C").CursorKind, ckDynamic1);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScriptTest, HitCommandsOnMissingBoxesAreReported) {
    Parse({"ROOM R1", "HITBOX GO g 0 0 1 1", "ROOM R2", "HITACTION g hall", "HITDISABLE nope",
           "HITCURSOR g bad", "HITCURSOR none", "ROOM R3", "HITBOX GO h 0 0 1 1", "HITCURSOR h sideways"});
    EXPECT_EQ(Errors(), (std::vector<std::string>{
                            ErrorPrefix + "Invalid hitbox ID \"G\"", // boxes of other rooms are not seen
                            ErrorPrefix + "Invalid hitbox ID \"NOPE\"",
                            ErrorPrefix + "Invalid hitbox ID \"G\"",
                            ErrorPrefix + "Invalid hitbox ID \"NONE\"",
                            ErrorPrefix + "Invalid cursor keyword \"SIDEWAYS\"",
                        }));
    EXPECT_EQ(BoxOf<TGoBox>(Room("R1"), "G").Target, "");
}

TEST_F(ScriptTest, RoomFlagsByNumber) {
    Parse(
        {"ROOM A", "ROOMFLAG 7", "ROOM B", "ROOMFLAG 1", "ROOMFLAG 2", "ROOM C", "ROOMFLAG 3", "ROOMFLAG 0"});
    EXPECT_EQ(Room("A").Flags, rfMirrorPicture);
    EXPECT_EQ(Room("B").Flags, rfRetain | rfMarked);
    EXPECT_EQ(Room("C").Flags, rfFlipPicture | rfMirrorPicture);
    EXPECT_THROW(Parse({"ROOMFLAG seven"}), std::runtime_error);
    EXPECT_THROW(Parse({"ROOMFLAG"}), std::runtime_error);
}

TEST_F(ScriptTest, FrameSetsWithAndWithoutTheirFrame) {
    Parse({"ROOM R1", "FRAMESET wave~ Strip1 20 4 100 50", "FS bell bells 8 3 -5 7 2", "TRAP anything"});
    TRoom& room = Room("R1");
    ASSERT_EQ(room.FrameSets.Count(), 2);
    TFrameSet& wave = room.FrameSets.Find("WAVE~");
    EXPECT_EQ(wave.ImageName, "strip1");
    EXPECT_EQ(wave.FrameHeight, 20);
    EXPECT_EQ(wave.FrameCount, 4);
    EXPECT_EQ(wave.Position, (TPoint{100, 50}));
    EXPECT_EQ(wave.Frame, 0);
    EXPECT_EQ(wave.Library, &Library);
    TFrameSet& bell = room.FrameSets.Find("BELL");
    EXPECT_EQ(bell.Position, (TPoint{-5, 7}));
    EXPECT_EQ(bell.Frame, 2);
    EXPECT_EQ(room.FrameSets.Head(), &wave); // appended in order
}

TEST_F(ScriptTest, FrameSetNumbersMustBeWholeAndFit) {
    Parse({"ROOM R1"});
    EXPECT_THROW(Parse({"FRAMESET f img x 4 0 0"}), std::runtime_error);
    EXPECT_THROW(Parse({"FRAMESET f img 20 4 0"}), std::runtime_error);
    EXPECT_THROW(Parse({"FRAMESET f img 20 4 0 0 two"}), std::runtime_error);
    EXPECT_THROW(Parse({"FRAMESET f img -1 4 0 0"}), StdException);
    EXPECT_THROW(Parse({"FRAMESET f img 20 70000 0 0"}), StdException);
    EXPECT_THROW(Parse({"FRAMESET f img 20 4 2147483647 0"}), StdException);
    EXPECT_THROW(Parse({"GOBOX g 2147483647 2147483647 2147483647 2147483647 hall"}), std::runtime_error);
    EXPECT_EQ(Room("R1").HitBoxes.Count(), 0);
    EXPECT_EQ(Room("R1").FrameSets.Count(), 0);
}

TEST_F(ScriptTest, NegativeWidthEndsTheStartUp) {
    WriteData({"ROOM R1", "GOBOX B 0 0 -5 10 hall", "ROOM R2"});
    try {
        Load();
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "ExtractBounds: invalid rectangle");
    }
    EXPECT_EQ(World.FindRoom("R2"), nullptr);
    EXPECT_EQ(Room("R1").HitBoxes.Count(), 0);
}

TEST_F(ScriptTest, ScrambledFileIsReadLineByLine) {
    WriteData({"BEGIN R1", "ROOM R1 First room", "HBX GO DOOR 10 20 30 40", "pic x", "room r2"});
    Load();
    EXPECT_EQ(World.GetStartRoom(), "R1");
    TGoBox& door = BoxOf<TGoBox>(Room("R1"), "DOOR");
    EXPECT_EQ(door.Bounds, (TRect{10, 20, 40, 60}));
    // Lower-case commands are not recognised in the scrambled form.
    EXPECT_EQ(Room("R1").GetPictureName(), "");
    EXPECT_EQ(World.FindRoom("R2"), nullptr);
    EXPECT_EQ(Room("R1").GetCaption(), "First room");
    EXPECT_TRUE(Errors().empty());
    // 66 bytes of five lines and two padding records, each followed by a
    // pause for the desktop.
    EXPECT_EQ(Platform.PendingMessageCalls, 7);
}

TEST_F(ScriptTest, NewerTextIsConvertedFirst) {
    Dir.Write(ScriptTextName, "begin r1\r\nroom r1 Hall\r\n\r\nhitbox go door 1 2 3 4\r\npic Hall\r\n");
    WriteData({"ROOM OLD"});
    SetAge(ScriptDataName, 100);
    SetAge(ScriptTextName, 10);
    Load();
    EXPECT_EQ(World.FindRoom("OLD"), nullptr);
    EXPECT_EQ(World.GetStartRoom(), "R1");
    EXPECT_EQ(BoxOf<TGoBox>(Room("R1"), "DOOR").Bounds, (TRect{1, 2, 4, 6}));
    EXPECT_EQ(Room("R1").GetPictureName(), "Hall");
    EXPECT_EQ(Room("R1").GetCaption(), "Hall");
    TObfText stored(Dir.File(ScriptDataName));
    std::vector<std::string> lines;
    while (!stored.AtEnd())
        lines.push_back(stored.ReadLine());
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[2], "HBX go door 1 2 3 4");
}

TEST_F(ScriptTest, TextIsConvertedWhenTheScrambledFormIsMissing) {
    Dir.Write(ScriptTextName, "room r1\n");
    Load();
    EXPECT_NE(World.FindRoom("R1"), nullptr);
    EXPECT_TRUE(FileExists(Dir.File(ScriptDataName)));
}

TEST_F(ScriptTest, TextIsNotReadWhenTheScrambledFormIsAsNew) {
    Dir.Write(ScriptTextName, "room fromtext\n");
    WriteData({"ROOM FROMDATA"});
    SetAge(ScriptTextName, 50);
    SetAge(ScriptDataName, 50);
    Load();
    EXPECT_NE(World.FindRoom("FROMDATA"), nullptr);
    EXPECT_EQ(World.FindRoom("FROMTEXT"), nullptr);
    SetAge(ScriptDataName, 20);
    EXPECT_FALSE(ScriptNeedsConversion(Dir.File(ScriptTextName), Dir.File(ScriptDataName)));
}

TEST_F(ScriptTest, MissingScriptLoadsNothingWithoutAMessage) {
    Load();
    EXPECT_EQ(World.Rooms.Count(), 0);
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(Platform.PendingMessageCalls, 1);
}

TEST_F(ScriptTest, LongLineSplitByTheConverterIsJoinedBack) {
    std::string text;
    for (int i = 0; i < 51; ++i)
        text += "word ";
    text += "end"; // 258 characters after the command
    Dir.Write(ScriptTextName, "ROOM R1\nINFORMONENTRY " + text + "\nPIC next\n");
    Load();
    // The rest of a line keeps its first 255 characters, as with any line,
    // and the line is trimmed.
    EXPECT_EQ(Room("R1").GetInformText(), TrimTrailing(text.substr(0, 255)));
    EXPECT_EQ(Room("R1").GetPictureName(), "next");
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScriptTest, PlusLinesJoinOnlyWhereTheConverterSplit) {
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "word ";
    const std::string unbroken(300, 'x');
    Dir.Write(ScriptTextName, "ROOM R1\nINFORMONENTRY hello\n+PIC one\nROOM R2\nINFORMONENTRY " + longText +
                                  "\n+PIC two\nROOM R3\nPIC " + unbroken + "\n+x\n");
    Load();
    EXPECT_EQ(Room("R1").GetInformText(), "hello");
    EXPECT_EQ(Room("R1").GetPictureName(), "");
    EXPECT_EQ(Room("R2").GetInformText(), TrimTrailing(longText.substr(0, 255)));
    EXPECT_EQ(Room("R2").GetPictureName(), "");
    // A word longer than a record is split where a space was inserted; joined
    // back it keeps that space, so the name ends there.
    EXPECT_EQ(Room("R3").GetPictureName(), unbroken.substr(0, 253));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScriptTest, ArbitraryScriptsEndInAReportOrAnErrorButNeverACrash) {
    // Lines built from the script's own words and stray tokens reach every
    // command with missing, extra and malformed operands.
    const std::vector<std::string> words = {"ROOM",
                                            "TITLEROOM",
                                            "DISKOPSROOM",
                                            "XROOM",
                                            "BEGIN",
                                            "PIC",
                                            "IOE",
                                            "INFORMONENTRY",
                                            "ROOMFLAG",
                                            "GOBOX",
                                            "ROOMSCRIPTBOX",
                                            "SCRIPTBOX",
                                            "CONTROLBOX",
                                            "SAYBOX",
                                            "HBX",
                                            "HITBOX",
                                            "HACT",
                                            "HITDISABLE",
                                            "HCUR",
                                            "FS",
                                            "TRAP",
                                            "GO",
                                            "RETURN",
                                            "SCRIPT",
                                            "ROOMSCRIPT",
                                            "CONTROL",
                                            "A",
                                            "B",
                                            "ACTION",
                                            "NONE",
                                            "exitgame",
                                            "0",
                                            "1",
                                            "7",
                                            "-3",
                                            "65536",
                                            "$10",
                                            "0x",
                                            "#",
                                            "+",
                                            "",
                                            "\xE9"};
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int line = static_cast<int>(random() % 12); line > 0; --line) {
            for (int word = static_cast<int>(random() % 9); word > 0; --word)
                text += words[random() % words.size()] + (random() % 6 ? " " : "  ");
            text += random() % 3 ? "\n" : "\r\n";
        }
        MemoryStream source(std::vector<uint8_t>(text.begin(), text.end()));
        std::vector<uint8_t> bytes = TObfText::MakePlain(source, ConvertLine);
        // Every fourth round the container is damaged as well.
        if (round % 4 == 0 && !bytes.empty()) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        ObfScramble(bytes);
        TObfText script(bytes);
        Current = nullptr;
        try {
            ReadScript(World, script);
            EXPECT_TRUE(script.AtEnd());
        } catch (const std::runtime_error&) {
            // A malformed number or rectangle ends the start-up, as intended.
        }
    }
}
