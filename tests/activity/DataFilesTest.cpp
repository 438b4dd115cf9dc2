// The start-up check of the shipped data files and the checked script loader:
// damaged data stops the start with one report naming the file, before the
// automatic saved game is read, moved or written.

#include "activity/DataFiles.h"

#include "activity/LibraryCheckNote.h"
#include "activity/RegionMap.h"
#include "engine/ObfText.h"
#include "engine/SavedGame.h"
#include "engine/Scripts.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "image/ZQ5Library.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestLibrary.h"

#include "ActivityArt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {
const std::string SoundScript = "BEGIN VOREL1\nROOM VOREL1 One\nROOM VOREL2\nROOM VOREL3\nROOM VOREL4\n";

std::vector<uint8_t> RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

// Runs the check and returns the file it named, or "" when it passed.
template <class Check> std::string DamagedFile(Check check) {
    try {
        check();
    } catch (const DataFileDamaged& fault) {
        return fault.File();
    }
    return "";
}

class DataFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SavedDat = DatPath;
        SavedGames = GamePath;
        DatPath = Dir.Folder();
        GamePath = Dir.Folder() + "games/";
        std::filesystem::create_directories(GamePath);
        LibraryPath = WriteTestLibrary(Dir, {SolidImage("one", 20, 10, 3), PatternImage("two", 40, 30)});
        Dir.Write("vorelmap.dat", SharedArt().MapBytes());
        WriteScript(SoundScript);
    }
    void TearDown() override {
        DatPath = SavedDat;
        GamePath = SavedGames;
    }

    void WriteScript(const std::string& text) {
        MemoryStream source(std::vector<uint8_t>(text.begin(), text.end()));
        std::vector<uint8_t> bytes = TObfText::MakePlain(source);
        ObfScramble(bytes);
        Dir.Write(ScriptDataName, bytes);
    }
    void Check() { CheckDataFiles(LibraryPath, Dir.Folder()); }
    void Truncate(const std::string& path, size_t keep) {
        std::filesystem::resize_file(path, keep);
    }

    // A world that loads the script in Dir with the checked loader.
    std::unique_ptr<TWorld> MakeWorld() {
        auto world = std::make_unique<TWorld>(Platform, Window, View, Library);
        world->ScriptLoader = LoadCheckedScript;
        return world;
    }

    TempDir Dir;
    std::string LibraryPath;
    FakePlatform Platform;
    FakeMainWindow Window;
    FakeDisplayTarget View{PlayAreaWidth, PlayAreaHeight};
    TZQ5Library Library;
    std::string SavedDat;
    std::string SavedGames;
};
} // namespace

TEST_F(DataFilesTest, SoundFilesPass) {
    EXPECT_EQ(DamagedFile([&] { Check(); }), "");
}

TEST_F(DataFilesTest, DamagedRegionMapIsNamed) {
    const std::string map = Dir.File("vorelmap.dat");
    for (std::vector<uint8_t> bytes :
         {std::vector<uint8_t>{}, RandomBytes(RegionMapFileSize, 3), RandomBytes(100, 4)}) {
        Dir.Write("vorelmap.dat", bytes);
        EXPECT_EQ(DamagedFile([&] { Check(); }), map) << bytes.size();
    }
    std::filesystem::remove(map);
    std::filesystem::create_directory(map);
    EXPECT_EQ(DamagedFile([&] { Check(); }), map) << "a folder in its place";
}

TEST_F(DataFilesTest, DamagedLibraryIsNamedWhateverPartIsHit) {
    const std::vector<uint8_t> sound = Dir.Read("test.zq5");
    // The sound library passes and is noted first: the note must not cover
    // for other bytes, even of the same size.
    Check();
    // Cut inside the last record's pixels: opening and indexing still work,
    // only decoding every image finds it.
    for (size_t keep : {size_t{0}, size_t{3}, sound.size() / 2, sound.size() - 6}) {
        std::vector<uint8_t> cut(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(keep));
        Dir.Write("test.zq5", cut);
        EXPECT_EQ(DamagedFile([&] { Check(); }), LibraryPath) << keep;
    }
    Dir.Write("test.zq5", RandomBytes(sound.size(), 5));
    EXPECT_EQ(DamagedFile([&] { Check(); }), LibraryPath);
}

TEST_F(DataFilesTest, ANoteSparesTheWalkOnlyForTheBytesThatPassed) {
    const std::string note = LibraryCheckNote::NotePath(Dir.Folder());
    Check();
    const std::vector<uint8_t> noted = Dir.Read(note);
    EXPECT_EQ(std::string(noted.begin(), noted.end()), LibraryCheckNote::Fingerprint(LibraryPath) + "\n");

    // Damage that only the walk finds: a note naming exactly these bytes
    // spares the walk, any other note does not.
    std::vector<uint8_t> bytes = Dir.Read("test.zq5");
    bytes.resize(bytes.size() - 6);
    Dir.Write("test.zq5", bytes);
    EXPECT_EQ(DamagedFile([&] { Check(); }), LibraryPath);
    const std::string fingerprint = LibraryCheckNote::Fingerprint(LibraryPath);
    Dir.Write(note, "program 1 bytes" + fingerprint.substr(fingerprint.find(" at ")));
    EXPECT_EQ(DamagedFile([&] { Check(); }), LibraryPath) << "a note of another program";
    Dir.Write(note, LibraryCheckNote::Fingerprint(LibraryPath));
    EXPECT_EQ(DamagedFile([&] { Check(); }), "");
}

TEST_F(DataFilesTest, ANoteThatCannotBeWrittenLeavesTheCheckAsItWas) {
    const std::string note = LibraryCheckNote::NotePath(Dir.Folder());
    std::filesystem::create_directory(note);
    EXPECT_EQ(DamagedFile([&] { Check(); }), "");
    EXPECT_EQ(DamagedFile([&] { Check(); }), "");
    EXPECT_TRUE(std::filesystem::is_directory(note));
    EXPECT_FALSE(std::filesystem::exists(note + ".new"));
    std::filesystem::remove(LibraryPath);
    EXPECT_EQ(DamagedFile([&] { Check(); }), LibraryPath) << "an unreadable library is never taken as noted";
}

TEST_F(DataFilesTest, ScriptMistakesComeAsOneReportWithoutABox) {
    WriteScript("NOSUCHCOMMAND x\n" + SoundScript + "XROOM Y\n");
    auto world = MakeWorld();
    try {
        world->Initialise();
        FAIL() << "no report";
    } catch (const DataFileDamaged& fault) {
        EXPECT_EQ(fault.File(), Dir.File(ScriptDataName));
        EXPECT_NE(fault.Reason().find("2 mistakes, the first at line 1: Unknown command"), std::string::npos) << fault.Reason();
    }
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(DataFilesTest, ScriptWithoutThePictureRoomsOrItsFirstRoomIsDamaged) {
    WriteScript("BEGIN VOREL1\nROOM VOREL1\nROOM VOREL2\n");
    EXPECT_EQ(DamagedFile([&] { MakeWorld()->Initialise(); }), Dir.File(ScriptDataName));
    WriteScript("BEGIN HALL\nROOM VOREL1\nROOM VOREL2\nROOM VOREL3\nROOM VOREL4\n");
    EXPECT_EQ(DamagedFile([&] { MakeWorld()->Initialise(); }), Dir.File(ScriptDataName));
    WriteScript(SoundScript);
    EXPECT_EQ(DamagedFile([&] { MakeWorld()->Initialise(); }), "");
}

// Whatever is wrong with the script, the automatic save stays as it was: not
// read, not kept aside, not replaced.
TEST_F(DataFilesTest, DamagedScriptLeavesTheAutomaticSaveAlone) {
    {
        auto world = MakeWorld();
        world->Initialise();
        world->FindRoom("VOREL1")->SetCaption("the child's");
        world->SaveGame('1', false);
    }
    const std::vector<uint8_t> saved = Dir.Read("games/PYX_sg1.dat");
    const std::vector<uint8_t> script = Dir.Read(ScriptDataName);
    const std::vector<std::function<void()>> damages = {
        [&] { Dir.Write(ScriptDataName, std::vector<uint8_t>{}); },
        [&] { Truncate(Dir.File(ScriptDataName), script.size() / 2 + 1); },
        [&] { Dir.Write(ScriptDataName, RandomBytes(script.size(), 7)); },
        [&] { Dir.Write(ScriptDataName, RandomBytes(4000, 8)); },
    };
    for (size_t i = 0; i < damages.size(); ++i) {
        Dir.Write(ScriptDataName, script);
        damages[i]();
        EXPECT_THROW(MakeWorld()->Initialise(), DataFileDamaged) << i;
        EXPECT_EQ(Dir.Read("games/PYX_sg1.dat"), saved) << i;
        EXPECT_FALSE(std::filesystem::exists(SaveFileName('1') + ".damaged")) << i;
        EXPECT_TRUE(Platform.Messages.empty()) << i;
    }
    // Mended, the same save comes back.
    Dir.Write(ScriptDataName, script);
    auto world = MakeWorld();
    world->Initialise();
    EXPECT_EQ(world->FindRoom("VOREL1")->GetCaption(), "the child's");
}

TEST_F(DataFilesTest, OversizedScriptIsRefusedUnread) {
    std::string line = "# " + std::string(200, 'x') + "\n";
    std::string text;
    while (text.size() <= ObfMaxFileSize)
        text += line;
    Dir.Write(ScriptTextName, text);
    EXPECT_EQ(DamagedFile([&] { MakeWorld()->Initialise(); }), Dir.File(ScriptTextName));
    std::filesystem::remove(Dir.File(ScriptTextName));
    Dir.Write(ScriptDataName, std::vector<uint8_t>(ObfMaxFileSize + 4, 0));
    EXPECT_EQ(DamagedFile([&] { MakeWorld()->Initialise(); }), Dir.File(ScriptDataName));
}

TEST_F(DataFilesTest, MessageNamesTheFileAndSaysThePicturesAreSafe) {
    const std::string text = DataFileMessage(DataFileDamaged("/data/vorelmap.dat", "it is short"));
    EXPECT_NE(text.find("/data/vorelmap.dat"), std::string::npos);
    EXPECT_NE(text.find("saved pictures have not been touched"), std::string::npos);
    EXPECT_EQ(text.find("Exception"), std::string::npos);
}
