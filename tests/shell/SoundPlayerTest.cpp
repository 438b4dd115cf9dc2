#include "RecordingSound.h"
#include "shell/SoundModule.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(SoundPlayerTest, OpensTheSoundSystemAtTheFirstSoundPlayedAndOnlyThen) {
    SoundLog log;
    SoundPlayer player(QUrl("qrc:/sounds/"));
    player.SetOutputFactory(RecordingSound::Factory(log));
    EXPECT_FALSE(player.Opened());

    player.SetMuted(true);
    player.Play(SoundCue::Fill);
    EXPECT_EQ(player.Started(), 1);
    EXPECT_FALSE(player.Opened()) << "a muted sound opened the sound system";
    EXPECT_EQ(log.Opened, 0);

    player.SetMuted(false);
    player.Play(SoundCue::AddObject);
    EXPECT_TRUE(player.Opened());
    EXPECT_EQ(log.Opened, 1);
    EXPECT_EQ(log.Preloads, 1) << "every cue loads with the first";
    player.Play(SoundCue::Delete);
    EXPECT_EQ(log.Opened, 1);
    EXPECT_EQ(log.Preloads, 1);
    EXPECT_THAT(log.Played, ElementsAre(SoundCue::AddObject, SoundCue::Delete));
    EXPECT_EQ(player.Started(), 3);
}

TEST(SoundPlayerTest, WithoutADeviceStaysSilentAndAsksOnce) {
    int asked = 0;
    SoundPlayer player(QUrl("qrc:/sounds/"));
    player.SetOutputFactory([&asked]() -> std::unique_ptr<SoundOutput> {
        ++asked;
        return nullptr;
    });
    player.Play(SoundCue::Fill);
    player.Play(SoundCue::BankPage);
    EXPECT_FALSE(player.HasDevice());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(player.Started(), 2);
}

// The test programs lie beside the module, as the program does in a build.
TEST(SoundModuleTest, LoadsBesideTheProgramAndOffersItsEntryPoint) {
    QString problem;
    auto output = LoadSoundModule(SoundModuleCandidates(QCoreApplication::applicationDirPath()),
                                  QUrl("qrc:/sounds/"), &problem);
    EXPECT_NE(output, nullptr) << problem.toStdString();
}

TEST(SoundModuleTest, InstalledItIsLookedForUnderTheLibraryFolder) {
    QStringList candidates = SoundModuleCandidates("/usr/bin");
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_EQ(candidates[0], "/usr/bin/libvorelsound.so");
    EXPECT_TRUE(candidates[1].startsWith("/usr/lib")) << candidates[1].toStdString();
    EXPECT_TRUE(candidates[1].endsWith("/vorel/modules/libvorelsound.so")) << candidates[1].toStdString();
}

TEST(SoundModuleTest, AMissingOrBrokenModuleIsNamedAndGivesNoOutput) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("libvorelsound.so");
    const QString broken = dir.filePath("broken/libvorelsound.so");
    ASSERT_TRUE(QDir(dir.path()).mkpath("broken"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();

    QString problem;
    EXPECT_EQ(LoadSoundModule({missing, broken}, QUrl("qrc:/sounds/"), &problem), nullptr);
    EXPECT_THAT(problem.toStdString(), HasSubstr(missing.toStdString() + ": not found"));
    EXPECT_THAT(problem.toStdString(), HasSubstr(broken.toStdString()));
}
