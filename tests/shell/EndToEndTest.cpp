// The real program's windows on the real data (the built library, script and
// region map), driven by mouse events: a child's session in picture 1, a
// switch to picture 3, a close, and a second start that must show the same
// pictures. Skipped when the data files have not been built.

#include "RealData.h"
#include "activity/ActivityRoomKinds.h"
#include "activity/ObjectTable.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelRoom.h"
#include "engine/SavedGame.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "image/ZQ5ImageData.h"
#include "shell/EventBoundary.h"
#include "shell/FormHelp.h"
#include "shell/FormVorel.h"
#include "shell/QtPlatform.h"
#include "shell/ShippedData.h"
#include "shell/SplashSetting.h"
#include "shell/ThumbnailBox.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "shell/ColouringRoomPoints.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {
const std::string BinDir = VOREL_BIN_DIR;

using Spot = ColouringRoomPoints<QPoint>;

bool DataBuilt() {
    return std::filesystem::exists(BinDir + "/vorel.zq5") &&
           std::filesystem::exists(BinDir + "/dat/vorelmap.dat") &&
           (std::filesystem::exists(BinDir + "/dat/pyx_init.dat") ||
            std::filesystem::exists(BinDir + "/dat/pyx_init.txt"));
}

// With VOREL_E2E_SHOTS set to a folder, the captures are kept there for a
// person to look at.
void Keep(const QImage& image, const char* name) {
    QString folder = qEnvironmentVariable("VOREL_E2E_SHOTS");
    if (!folder.isEmpty()) image.save(folder + "/" + name + ".png");
}

// How many pixels of a surface have the colour.
int CountOf(TZQ5ImageData& surface, uint8_t colour) {
    int count = 0;
    for (int32_t y = 0; y < surface.Height; ++y)
        for (int32_t x = 0; x < surface.Width; ++x)
            count += surface.GetPixel({x, y}) == colour ? 1 : 0;
    return count;
}

// The miniature inside a thumbnail's frame.
QImage Miniature(ThumbnailBox* box) {
    return box->grab().toImage().copy(2, 2, 125, 75);
}
} // namespace

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DataBuilt()) GTEST_SKIP() << "the data files are not built in " << BinDir;
        ASSERT_TRUE(UseRealData(Desktop, Home));
        ShowSplash = false;
        Platform.SetQuestionFunction([this](const std::string& text, MessageKind, MessageButtons) {
            Messages.push_back(text);
            return MessageResult::No;
        });
        SetErrorReport([this](const std::string& text) { Messages.push_back("escaped: " + text); });
    }
    void TearDown() override {
        Form.reset();
        SetErrorReport(nullptr);
        ShowSplash = true;
    }

    void Start() {
        Form = std::make_unique<TFormVorel>(Platform, 1);
        Form->SetCompanions(nullptr, &Help);
        Form->FormCreate();
        Form->showNormal();
        QTest::qWait(100);
    }
    void Stop() {
        Form->close();
        Form.reset();
    }
    // Lets the tick timer run, so that buttons pop up and damage is shown.
    void Settle() { QTest::qWait(400); }
    void ClickAt(QPoint at) {
        QTest::mouseClick(Form->View(), Qt::LeftButton, {}, at);
        Settle();
    }
    void Drag(QPoint from, QPoint to) {
        QWidget* view = Form->View();
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::qWait(60);
        for (int i = 1; i <= 8; ++i) {
            QPoint at = from + (to - from) * i / 8;
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(view, &move);
            QTest::qWait(20);
        }
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
        Settle();
    }
    void OpenPicture(int index) {
        QTest::mouseClick(Form->Thumbnail(index), Qt::LeftButton, {}, QPoint(60, 40));
        Settle();
        ASSERT_EQ(World->CurrentRoom()->GetID(), "VOREL" + std::to_string(index));
    }
    QImage PlayArea() { return Form->View()->grab().toImage(); }

    TempDir Home;
    FakePlatform Desktop;
    QtPlatform Platform{{}};
    TFormHelp Help;
    std::unique_ptr<TFormVorel> Form;
    std::vector<std::string> Messages;
};

TEST_F(EndToEnd, PicturesSurviveARestart) {
    Start();
    QImage blank = Miniature(Form->Thumbnail(1));
    OpenPicture(1);
    QImage empty = PlayArea();

    ClickAt(Spot::ObjectButton5);
    ClickAt(Spot::ObjectButton6);
    QImage twoObjects = PlayArea();
    ClickAt(Spot::ColourButton3);
    ClickAt(Spot::Sky);
    EXPECT_NE(PlayArea().pixel(Spot::Sky), twoObjects.pixel(Spot::Sky)) << "the background was not filled";
    ClickAt(Spot::ColourButton5);
    ClickAt(Spot::FlowerPot);
    EXPECT_NE(PlayArea().pixel(Spot::FlowerPot), twoObjects.pixel(Spot::FlowerPot)) << "the object was not filled";
    ClickAt(Spot::FirstIcon);
    QImage beforeDrag = PlayArea();
    Drag(Spot::CatEar, Spot::CatEar + QPoint(-90, 40));
    EXPECT_NE(PlayArea(), beforeDrag) << "the drag moved nothing";
    QImage beforeTools = PlayArea();
    ClickAt(Spot::MirrorTool);
    ClickAt(Spot::HalfTool);
    QImage edited = PlayArea();
    EXPECT_NE(edited, beforeTools) << "mirror and half changed nothing";
    EXPECT_NE(edited, empty) << "the session left picture 1 unchanged";
    EXPECT_NE(Miniature(Form->Thumbnail(1)), blank) << "the thumbnail did not follow the picture";

    OpenPicture(3);
    OpenPicture(1);
    QImage picture1 = PlayArea();
    OpenPicture(3);
    QImage picture3 = PlayArea();
    Keep(edited, "edited");
    Keep(picture1, "picture1");
    Keep(Form->grab().toImage(), "window");
    std::array<QImage, 5> miniatures;
    for (int i = 1; i <= 4; ++i)
        miniatures[static_cast<size_t>(i)] = Miniature(Form->Thumbnail(i));
    Stop();
    ASSERT_TRUE(std::filesystem::exists(SaveFileName('1')));

    Start();
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(Miniature(Form->Thumbnail(i)), miniatures[static_cast<size_t>(i)]) << "thumbnail " << i;
    OpenPicture(1);
    EXPECT_EQ(PlayArea(), picture1);
    OpenPicture(3);
    EXPECT_EQ(PlayArea(), picture3);
    Stop();
    EXPECT_TRUE(Messages.empty()) << Messages.front();
}

// Damaged data found at start-up stops the program before the automatic save
// is read, put aside or written; mended data brings the same pictures back.
TEST_F(EndToEnd, DamagedDataNeverCostsThePictures) {
    Start();
    OpenPicture(3);
    ClickAt(Spot::ObjectButton5);
    Stop();
    const std::string save = SaveFileName('1');
    ASSERT_TRUE(std::filesystem::exists(save));
    TempDir keep;
    const std::vector<uint8_t> saved = keep.Read(save);
    const std::string script = DatPath + "pyx_init.dat";
    const std::vector<uint8_t> sound = keep.Read(script);

    // The window's way: the script is read before the saved game.
    keep.Write(script, std::vector<uint8_t>(sound.begin(), sound.begin() + sound.size() / 2 + 1));
    Form = std::make_unique<TFormVorel>(Platform, 1);
    Form->SetCompanions(nullptr, &Help);
    EXPECT_THROW(Form->FormCreate(), DataFileDamaged);
    Form.reset();
    keep.Write(script, sound);

    // The export's way, through the whole entry sequence: a region map cut short.
    const std::string map = DatPath + "vorelmap.dat";
    const std::vector<uint8_t> soundMap = keep.Read(map);
    keep.Write(map, std::vector<uint8_t>(soundMap.begin(), soundMap.begin() + 1000));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(Home.Folder()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(Home.Folder() + "data"));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(Home.Folder() + "config"));
    QProcess vorel;
    vorel.setProcessEnvironment(env);
    vorel.start(QString::fromStdString(BinDir + "/vorel"),
                {"--export", QString::fromStdString(Home.Folder() + "out")});
    ASSERT_TRUE(vorel.waitForFinished(30000));
    EXPECT_EQ(vorel.exitCode(), 1);
    const QString errors = vorel.readAllStandardError();
    EXPECT_TRUE(errors.contains("vorelmap.dat")) << errors.toStdString();
    EXPECT_EQ(errors.count("vorel:"), 1) << errors.toStdString();

    EXPECT_EQ(keep.Read(save), saved);
    EXPECT_FALSE(std::filesystem::exists(save + ".damaged"));
    keep.Write(map, soundMap);
    Start();
    OpenPicture(3);
    EXPECT_TRUE(Messages.empty()) << Messages.front();
    Stop();
    EXPECT_TRUE(std::filesystem::exists(save));
    EXPECT_FALSE(std::filesystem::exists(save + ".damaged"));
}

// Every background as shipped, in the running room: a click on each region's seed fills that
// region and no other, each region is big enough for a small hand, and no area of the drawing is
// left out of the region map. Started with random colours, no area keeps its drawn colour.
TEST_F(EndToEnd, EveryRegionOfEveryBackgroundFillsAloneAndBigEnough) {
    constexpr int SmallestRegion = 40;
    Start();
    OpenPicture(1);
    TVorelDrawing& picture = static_cast<TVorelRoom*>(World->CurrentRoom())->Picture();
    for (uint8_t bg = 0; bg < BackgroundCount; ++bg) {
        picture.SetBackground(bg, true);
        TZQ5ImageData& image = picture.Background()->Surface();
        const std::vector<TRegion> regions = picture.Background()->Entry().Regions;
        EXPECT_GE(regions.size(), 28u) << "background " << int(bg);
        for (size_t i = 0; i < regions.size(); ++i) {
            const TPoint seed = regions[i].Seed;
            const int blankBefore = CountOf(image, BlankBackgroundColour);
            const TPoint at = PtAdd(seed, TVorelRoom::PictureOrigin);
            World->ViewMouseDown(0, ssLeft, at.X, at.Y);
            World->ViewMouseUp(0, ssLeft, at.X, at.Y);
            ASSERT_NE(image.GetPixel(seed), BlankBackgroundColour)
                << "background " << int(bg) << ": the click on region " << i << " filled nothing";
            EXPECT_GE(blankBefore - CountOf(image, BlankBackgroundColour), SmallestRegion)
                << "background " << int(bg) << ": region " << i << " is a speck";
            for (size_t j = i + 1; j < regions.size(); ++j)
                ASSERT_EQ(image.GetPixel(regions[j].Seed), BlankBackgroundColour)
                    << "background " << int(bg) << ": filling region " << i << " reached region " << j;
        }
        EXPECT_EQ(CountOf(image, BlankBackgroundColour), 0)
            << "background " << int(bg) << " has an area that is no region";

        picture.SetBackground(bg, false);
        TZQ5ImageData& coloured = picture.Background()->Surface();
        std::set<uint8_t> allowed{OutlineInk};
        for (const TRegion& region : picture.Background()->Entry().Regions)
            allowed.insert(region.Colour);
        for (int32_t y = 0; y < coloured.Height; ++y)
            for (int32_t x = 0; x < coloured.Width; ++x)
                ASSERT_TRUE(allowed.count(coloured.GetPixel({x, y})))
                    << "background " << int(bg) << " at (" << x << "," << y << ") keeps its drawn colour";
    }
    Stop();
    EXPECT_TRUE(Messages.empty()) << Messages.front();
}

TEST(ExportTest, WritesTheFourPicturesWithoutAWindow) {
    if (!DataBuilt()) GTEST_SKIP() << "the data files are not built in " << BinDir;
    TempDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(home.Folder()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(home.Folder() + "data"));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.Folder() + "config"));
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    for (int scale : {1, 2}) {
        QString out = QString::fromStdString(home.Folder() + "out" + std::to_string(scale));
        QProcess vorel;
        vorel.setProcessEnvironment(env);
        vorel.start(QString::fromStdString(BinDir + "/vorel"),
                    {"--export", out, "--scale", QString::number(scale)});
        ASSERT_TRUE(vorel.waitForFinished(30000));
        EXPECT_EQ(vorel.exitCode(), 0) << vorel.readAllStandardError().toStdString();
        for (int i = 1; i <= 4; ++i) {
            QImage picture(out + QString("/picture%1.png").arg(i));
            EXPECT_EQ(picture.size(), QSize(376 * scale, 225 * scale)) << i;
        }
    }
}

TEST(ExportTest, UnwritableFolderFailsWithItsName) {
    if (!DataBuilt()) GTEST_SKIP() << "the data files are not built in " << BinDir;
    TempDir home;
    home.Write("file", std::string("x"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(home.Folder()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(home.Folder() + "data"));
    QProcess vorel;
    vorel.setProcessEnvironment(env);
    vorel.start(QString::fromStdString(BinDir + "/vorel"),
                {"--export", QString::fromStdString(home.File("file"))});
    ASSERT_TRUE(vorel.waitForFinished(30000));
    EXPECT_EQ(vorel.exitCode(), 1);
    EXPECT_TRUE(vorel.readAllStandardError().contains("cannot create the folder"));
}
