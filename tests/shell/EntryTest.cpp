#include "foundation/ResStrings.h"
#include "shell/EntryChecks.h"
#include "shell/ShippedData.h"
#include "shell/SplashSetting.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
void ExpectMessage(const FakePlatform::Message& message, const std::string& text, MessageKind kind,
                   MessageButtons buttons) {
    EXPECT_EQ(message.Text, text);
    EXPECT_EQ(message.Kind, kind);
    EXPECT_EQ(message.Buttons, buttons);
}
} // namespace

TEST(DisplayCheck, MonochromeRefusesWithItsMessage) {
    FakePlatform platform;
    EXPECT_FALSE(DisplayIsSuitable(platform, 1));
    ASSERT_EQ(platform.Messages.size(), 1u);
    ExpectMessage(platform.Messages[0], LoadResString(SMonochrome), MessageKind::Error, MessageButtons::Ok);
}

TEST(DisplayCheck, SixteenColoursAsksAndGoesOnOnlyOnYes) {
    FakePlatform platform;
    platform.Answers = {MessageResult::No, MessageResult::Yes};
    EXPECT_FALSE(DisplayIsSuitable(platform, 4));
    EXPECT_TRUE(DisplayIsSuitable(platform, 4));
    ASSERT_EQ(platform.Messages.size(), 2u);
    ExpectMessage(platform.Messages[0], LoadResString(SSixteenColours), MessageKind::Warning,
                  MessageButtons::YesNo);
}

TEST(DisplayCheck, OtherDepthsGoStraightOn) {
    FakePlatform platform;
    for (int depth : {8, 16, 24, 32})
        EXPECT_TRUE(DisplayIsSuitable(platform, depth));
    EXPECT_TRUE(platform.Messages.empty());
}

class RequiredFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Program.Path() / "dat");
        Program.Write("vorel.zq5", std::string("x"));
        Program.Write("dat/pyx_init.dat", std::string("x"));
        Program.Write("dat/vorelmap.dat", std::string("x"));
    }
    bool Check() { return RequiredFilesPresent(Platform, Program.Folder(), Program.Folder() + "dat/"); }
    TempDir Program;
    FakePlatform Platform;
};

TEST_F(RequiredFiles, AllPresentPassesSilently) {
    EXPECT_TRUE(Check());
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RequiredFiles, TextScriptStandsInForScrambledOne) {
    fs::remove(Program.Path() / "dat/pyx_init.dat");
    Program.Write("dat/pyx_init.txt", std::string("x"));
    EXPECT_TRUE(Check());
}

TEST_F(RequiredFiles, MissingScriptNamesTheDatPath) {
    fs::remove(Program.Path() / "dat/pyx_init.dat");
    EXPECT_FALSE(Check());
    ASSERT_EQ(Platform.Messages.size(), 1u);
    EXPECT_EQ(Platform.Messages[0].Text,
              "Sorry! We cannot find the needed file \"" + Program.Folder() + "dat/pyx_init.dat\".");
    EXPECT_EQ(Platform.Messages[0].Kind, MessageKind::Error);
}

TEST_F(RequiredFiles, StopsAtFirstMissingFile) {
    fs::remove(Program.Path() / "vorel.zq5");
    fs::remove(Program.Path() / "dat/vorelmap.dat");
    EXPECT_FALSE(Check());
    ASSERT_EQ(Platform.Messages.size(), 1u);
    EXPECT_NE(Platform.Messages[0].Text.find("vorel.zq5"), std::string::npos);
}

TEST_F(RequiredFiles, FolderNamedLikeAFileDoesNotCount) {
    fs::remove(Program.Path() / "dat/vorelmap.dat");
    fs::create_directories(Program.Path() / "dat/vorelmap.dat");
    EXPECT_FALSE(Check());
}

TEST(ShippedDataTest, CopiesMissingFilesAndKeepsNewerOnes) {
    TempDir shipped;
    TempDir user;
    shipped.Write("pyx_init.txt", std::string("new script"));
    shipped.Write("vorelmap.dat", std::string("new map"));
    ShippedDataResult first = InstallShippedData(shipped.Folder(), user.Folder() + "dat/");
    EXPECT_TRUE(first.Error.empty()) << first.Error;
    EXPECT_EQ(first.Copied.size(), 2u);
    EXPECT_EQ(user.Read("dat/vorelmap.dat"), std::vector<uint8_t>({'n', 'e', 'w', ' ', 'm', 'a', 'p'}));

    // A second start copies nothing: the copies are not older than the shipped files.
    EXPECT_TRUE(InstallShippedData(shipped.Folder(), user.Folder() + "dat/").Copied.empty());

    // A newer shipped file replaces the user's; a user's file newer than the shipped one stays.
    auto now = fs::file_time_type::clock::now();
    fs::last_write_time(user.Path() / "dat/vorelmap.dat", now - std::chrono::hours(2));
    fs::last_write_time(shipped.Path() / "vorelmap.dat", now - std::chrono::hours(1));
    user.Write("dat/pyx_init.txt", std::string("edited"));
    ShippedDataResult third = InstallShippedData(shipped.Folder(), user.Folder() + "dat/");
    EXPECT_EQ(third.Copied, std::vector<std::string>{"vorelmap.dat"});
    EXPECT_EQ(user.Read("dat/pyx_init.txt").size(), 6u);
    EXPECT_FALSE(fs::exists(user.Path() / "dat/vorelmap.dat.new"));
}

TEST(ShippedDataTest, SameFolderOrNoShippedFolderDoesNothing) {
    TempDir dir;
    dir.Write("vorelmap.dat", std::string("x"));
    EXPECT_TRUE(InstallShippedData(dir.Folder(), dir.Folder()).Copied.empty());
    EXPECT_TRUE(InstallShippedData(dir.Folder() + "none/", dir.Folder() + "dat/").Copied.empty());
}

TEST(ShippedDataTest, UnwritableTargetIsReportedNotThrown) {
    TempDir shipped;
    TempDir user;
    shipped.Write("vorelmap.dat", std::string("x"));
    user.Write("dat", std::string("a file where the folder should be"));
    ShippedDataResult result = InstallShippedData(shipped.Folder(), user.Folder() + "dat/");
    EXPECT_FALSE(result.Error.empty());
    EXPECT_NE(result.Error.find(user.Folder() + "dat/"), std::string::npos);
}

TEST(ShippedDataTest, AFailedCopyLeavesNoHalfFileBehind) {
    TempDir shipped;
    TempDir user;
    shipped.Write("vorelmap.dat", std::string("new map"));
    // A folder in the file's place, older than the shipped file: the copy is
    // made, and the rename over the folder fails.
    fs::create_directories(user.Path() / "dat/vorelmap.dat/inside");
    fs::last_write_time(user.Path() / "dat/vorelmap.dat", fs::file_time_type::clock::now() - std::chrono::hours(3));
    ShippedDataResult result = InstallShippedData(shipped.Folder(), user.Folder() + "dat/");
    EXPECT_NE(result.Error.find(user.Folder() + "dat/"), std::string::npos) << result.Error;
    EXPECT_FALSE(fs::exists(user.Path() / "dat/vorelmap.dat.new"));
    EXPECT_TRUE(fs::is_directory(user.Path() / "dat/vorelmap.dat/inside"));
}

TEST(ShippedDataFolderTest, InstalledDataBesideBinIsFoundWhereverThePrefixLies) {
    TempDir prefix;
    prefix.Write("share/vorel/vorel.zq5", std::string("library"));
    fs::create_directories(prefix.Path() / "bin");
    const std::string expected = (prefix.Path() / "share/vorel").lexically_normal().string();
    EXPECT_EQ(ShippedDataFolder(prefix.Folder() + "bin", "../share/vorel"), expected);

    // Moving the whole prefix elsewhere keeps the program finding its data.
    TempDir elsewhere;
    fs::rename(prefix.Path() / "share", elsewhere.Path() / "share");
    fs::rename(prefix.Path() / "bin", elsewhere.Path() / "bin");
    EXPECT_EQ(ShippedDataFolder(elsewhere.Folder() + "bin", "../share/vorel"),
              (elsewhere.Path() / "share/vorel").lexically_normal().string());
}

TEST(ShippedDataFolderTest, BuildTreeOrIncompleteInstallationUsesTheProgramFolder) {
    TempDir build;
    build.Write("bin/vorel.zq5", std::string("library"));
    EXPECT_EQ(ShippedDataFolder(build.Folder() + "bin", "../share/vorel"), build.Folder() + "bin");

    // A data folder without the image library is not an installation.
    build.Write("share/vorel/dat/vorelmap.dat", std::string("map"));
    EXPECT_EQ(ShippedDataFolder(build.Folder() + "bin", "../share/vorel"), build.Folder() + "bin");
    fs::create_directories(build.Path() / "share/vorel/vorel.zq5");
    EXPECT_EQ(ShippedDataFolder(build.Folder() + "bin", "../share/vorel"), build.Folder() + "bin");
}

TEST(SplashSettingTest, MissingValueMeansShowAndWrittenValueComesBack) {
    // The settings file lies in the test's own configuration folder, never in a real home.
    ASSERT_TRUE(
        QSettings("KEL! Software", "Vorel").fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    QSettings("KEL! Software", "Vorel").remove("SplashScreen");
    ShowSplash = false;
    ReadSplashSetting();
    EXPECT_TRUE(ShowSplash);
    ShowSplash = false;
    WriteSplashSetting();
    ShowSplash = true;
    ReadSplashSetting();
    EXPECT_FALSE(ShowSplash);
    EXPECT_EQ(QSettings("KEL! Software", "Vorel").value("SplashScreen").toBool(), false);
    ShowSplash = true;
    WriteSplashSetting();
}

TEST(SplashSettingTest, AnUnchangedValueLeavesTheFileAlone) {
    ShowSplash = false;
    WriteSplashSetting();
    const QString file = QSettings("KEL! Software", "Vorel").fileName();
    const auto before = fs::last_write_time(file.toStdString());
    fs::last_write_time(file.toStdString(), before - std::chrono::hours(1));
    WriteSplashSetting();
    EXPECT_EQ(fs::last_write_time(file.toStdString()), before - std::chrono::hours(1));
    ShowSplash = true;
    WriteSplashSetting();
    EXPECT_GT(fs::last_write_time(file.toStdString()), before - std::chrono::hours(1));
    ReadSplashSetting();
    EXPECT_TRUE(ShowSplash);
}
