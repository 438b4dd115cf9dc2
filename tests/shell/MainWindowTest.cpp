#include "engine/Room.h"
#include "engine/SavedGame.h"
#include "engine/World.h"
#include "foundation/Paths.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "shell/BlockLayout.h"
#include "shell/ArtButton.h"
#include "shell/DlgAbout.h"
#include "shell/EventBoundary.h"
#include "shell/FormHelp.h"
#include "shell/FormVorel.h"
#include "shell/QtPlatform.h"
#include "shell/SplashSetting.h"
#include "shell/ThumbnailBox.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestLibrary.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {
constexpr uint8_t FrameUp = 10;
constexpr uint8_t FrameDown = 20;

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

// Counts the paint events a widget receives, and notes how many the watched
// play area had had when another widget was first shown.
class PaintsBeforeShow : public QObject {
public:
    PaintsBeforeShow(QWidget& painted, QWidget& shown) {
        painted.installEventFilter(this);
        shown.installEventFilter(this);
        Shown = &shown;
    }
    int Paints = 0;
    int PaintsWhenShown = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched != Shown) ++Paints;
        if (event->type() == QEvent::Show && watched == Shown && PaintsWhenShown < 0) PaintsWhenShown = Paints;
        return false;
    }

private:
    QObject* Shown = nullptr;
};

// A room whose entry can be made to fail with an error that is not the
// engine's own.
class TTestRoom : public TRoom {
public:
    explicit TTestRoom(const std::string& id) : TRoom(id) {}
    void Enter(const std::string& previousID) override {
        if (FailOnEnter) throw std::logic_error("broken room " + GetID());
        TRoom::Enter(previousID);
    }
    bool KeyCommand(const std::string& name) override {
        Commands.push_back(name);
        return true;
    }
    bool FailOnEnter = false;
    std::vector<std::string> Commands;
};

// A control that paints a 6 x 6 square of its colour where it is pressed and
// dragged, straight into the screen, as the colouring room's fills do.
class TPaintBox : public THitBox {
public:
    explicit TPaintBox(uint8_t colour) : THitBox("paint", {0, 0, 512, 320}), Colour(colour) {
        IsControl = true;
    }
    bool MouseDown(int, TShiftState, int32_t x, int32_t y) override {
        Dab(x, y);
        return true;
    }
    bool MouseDrag(int32_t x, int32_t y) override {
        Dab(x, y);
        return true;
    }
    bool MouseUp(int32_t x, int32_t y) override {
        Dab(x, y);
        return false;
    }

private:
    void Dab(int32_t x, int32_t y) { World->Screen()->FillRect({x - 3, y - 3, x + 3, y + 3}, Colour); }
    uint8_t Colour;
};

void TestRooms(TWorld& world) {
    auto title = std::make_unique<TTestRoom>("TITLE");
    title->SetPictureName("pic");
    title->SetCaption("Title");
    world.AddRoom(std::move(title));
    for (int i = 1; i <= 4; ++i) {
        auto room = std::make_unique<TTestRoom>("VOREL" + std::to_string(i));
        room->SetPictureName("pic2");
        room->SetCaption("Picture " + std::to_string(i));
        world.AddRoom(std::move(room));
    }
    world.SetStartRoom("TITLE");
}
} // namespace

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Dir.Path() / "program");
        std::vector<TestImage> images{
            PatternImage("tile", 16, 16),
            SolidImage("picon_up", 129, 79, FrameUp),
            SolidImage("picon_dn", 129, 79, FrameDown),
            PatternImage("pic", 512, 320),
            SolidImage("pic2", 512, 320, 7),
        };
        std::string library = WriteTestLibrary(Dir, images);
        std::filesystem::rename(library, Dir.Path() / "program" / "vorel.zq5");
        Desktop.ProgramDir = Dir.Folder() + "program";
        Desktop.DataFolder = Dir.Folder() + "data";
        EnsurePaths(Desktop, true);
        std::filesystem::create_directories(GamePath);
        Platform.SetQuestionFunction([this](const std::string& text, MessageKind, MessageButtons) {
            Messages.push_back(text);
            return MessageResult::No;
        });
        SetErrorReport([this](const std::string& text) { Errors.push_back(text); });
        ShowSplash = false;
    }
    void TearDown() override {
        Form.reset();
        SetErrorReport(nullptr);
        ShowSplash = true;
    }

    void Create(int scale = 0) {
        Form = std::make_unique<TFormVorel>(Platform, scale);
        Form->SetCompanions(nullptr, &Help);
        Form->ScriptLoader = TestRooms;
        Form->FormCreate();
    }
    TTestRoom& Room(const std::string& id) { return dynamic_cast<TTestRoom&>(*World->FindRoom(id)); }
    QImage Shot(QWidget* widget) { return widget->grab().toImage(); }
    // A shown window learns its new size from the desktop, a moment later.
    void Resize(int width, int height) {
        Form->resize(width, height);
        for (int i = 0; i < 100 && Form->size() != QSize(width, height); ++i)
            QTest::qWait(5);
        QCoreApplication::processEvents();
    }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5)); }
    // The pixels the window holds now, as its last paint left them: unlike
    // grab(), taking them paints nothing.
    QImage WindowPixels() { return Form->screen()->grabWindow(Form->winId()).toImage(); }
    QRgb WindowPixelAt(QPoint inView) { return WindowPixels().pixel(Form->View()->mapTo(Form.get(), inView)); }
    // A shown window at scale 1 with the tick stopped, so that only input can
    // bring pixels to it, and a paint box in the title room.
    void StartWithoutTick(uint8_t colour) {
        Create(1);
        World->CurrentRoom()->AddHitBox(std::make_unique<TPaintBox>(colour));
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->tmrTickTimer();
        Form->TickTimer()->stop();
        Platform.SetInputObserver(nullptr); // and input cannot start it again
        QCoreApplication::processEvents();
    }
    // Sends a move with the left button held, as a drag makes them.
    void DragTo(QPoint at) {
        QWidget* view = Form->View();
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view, &move);
    }

    TempDir Dir;
    FakePlatform Desktop;
    QtPlatform Platform{{}};
    TFormHelp Help;
    std::unique_ptr<TFormVorel> Form;
    std::vector<std::string> Messages;
    std::vector<std::string> Errors;
};

TEST_F(MainWindow, StartsInStartRoomWithFourOpaqueThumbnails) {
    Create();
    EXPECT_EQ(Form->windowTitle(), "Title");
    EXPECT_TRUE(Form->TickTimer()->isActive());
    EXPECT_EQ(Form->TickTimer()->interval(), 55);
    for (size_t i = 1; i <= 4; ++i) {
        ASSERT_NE(PictureThumbs[i], nullptr);
        EXPECT_EQ(PictureThumbs[i]->ImageData().Width, 129);
        EXPECT_EQ(PictureThumbs[i]->ImageData().TransparentOrNone(), -1);
    }
    EXPECT_EQ(Form->CurrentPicture(), 0);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(MainWindow, PlayAreaShowsTheScreenAfterATick) {
    Create();
    Form->tmrTickTimer();
    QImage shot = Shot(Form->View());
    EXPECT_EQ(shot.pixel(0, 0), Grey(0) | 0xFF000000u);
    EXPECT_EQ(shot.pixel(5, 0), Grey(5));
    EXPECT_EQ(shot.pixel(3, 1), Grey((3 + 512) % 256));
}

TEST_F(MainWindow, ThumbnailClickGoesToItsPictureAndMovesTheDownFrame) {
    Create();
    Form->show();
    Click(Form->Thumbnail(1));
    EXPECT_EQ(Form->CurrentPicture(), 1);
    EXPECT_EQ(Form->windowTitle(), "Picture 1");
    EXPECT_EQ(Shot(Form->Thumbnail(1)).pixel(0, 0), Grey(FrameDown));

    Click(Form->Thumbnail(3));
    EXPECT_EQ(World->CurrentRoom()->GetID(), "VOREL3");
    EXPECT_EQ(Form->windowTitle(), "Picture 3");
    EXPECT_EQ(Shot(Form->Thumbnail(1)).pixel(0, 0), Grey(FrameUp));
    EXPECT_EQ(Shot(Form->Thumbnail(3)).pixel(0, 0), Grey(FrameDown));
}

TEST_F(MainWindow, ClickingTheCurrentThumbnailDoesNotReenterItsRoom) {
    Create();
    Form->show();
    Click(Form->Thumbnail(2));
    size_t stacked = World->RoomStack.Count();
    Click(Form->Thumbnail(2));
    EXPECT_EQ(World->RoomStack.Count(), stacked);
}

TEST_F(MainWindow, ClosingSavesSlotOneFromTheTitleRoom) {
    Create();
    Form->show();
    Click(Form->Thumbnail(2));
    Form->close();
    EXPECT_TRUE(std::filesystem::exists(SaveFileName('1')));
    EXPECT_EQ(World->CurrentRoom()->GetID(), "TITLE");
    EXPECT_FALSE(Form->TickTimer()->isActive());
}

TEST_F(MainWindow, VersionLabelOnlyWhileMaximisedWithCapsLock) {
    Create();
    EXPECT_EQ(Form->VersionLabel()->text(), "V1.7.5.0 (2011-06-21)");
    Form->showNormal();
    Platform.SetCapsLockOverride(true);
    Form->tmrTickTimer();
    EXPECT_FALSE(Form->VersionLabel()->isVisible());
    Form->showMaximized();
    Form->tmrTickTimer();
    EXPECT_TRUE(Form->VersionLabel()->isVisible());
    Platform.SetCapsLockOverride(false);
    Form->tmrTickTimer();
    EXPECT_FALSE(Form->VersionLabel()->isVisible());
}

TEST_F(MainWindow, F1ShowsInstructionsOnlyWhenHidden) {
    Create();
    Form->show();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    ASSERT_TRUE(Help.isVisible());
    Help.cmdNextClick();
    Help.cmdNextClick();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_EQ(Help.Page(), 3);
    Help.cmdCloseClick();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_EQ(Help.Page(), 1);
}

TEST_F(MainWindow, BlockScalesCentresAndStaysCrisp) {
    Create();
    Form->showNormal();
    Resize(1200, 1000);
    EXPECT_EQ(Form->BlockScale(), 2) << Form->width() << "x" << Form->height() << " " << Form->windowState();
    EXPECT_EQ(Form->View()->size(), QSize(1024, 640));
    QRect frame = Form->View()->parentWidget()->geometry();
    EXPECT_EQ(frame.left(), 1200 - (frame.left() + frame.width()));
    Form->tmrTickTimer();
    QImage shot = Shot(Form->View());
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(shot.pixel(2 * x, 2), Grey(x + 512 % 256)) << x;
        EXPECT_EQ(shot.pixel(2 * x + 1, 3), Grey(x + 512 % 256)) << x;
    }
    EXPECT_EQ(Form->Thumbnail(1)->size(), QSize(258, 158));
}

TEST_F(MainWindow, ForcedScaleOneKeepsTheOriginalSize) {
    Form = std::make_unique<TFormVorel>(Platform, 1);
    Form->show();
    Resize(1600, 1200);
    EXPECT_EQ(Form->BlockScale(), 1);
    EXPECT_EQ(Form->View()->size(), QSize(512, 320));
}

TEST_F(MainWindow, ErrorEscapingARoomIsShownAndTheProgramGoesOn) {
    Create();
    Form->show();
    Room("VOREL3").FailOnEnter = true;
    Click(Form->Thumbnail(3));
    ASSERT_FALSE(Errors.empty());
    EXPECT_NE(Errors.back().find("broken room VOREL3"), std::string::npos);
    Form->tmrTickTimer();
    Click(Form->Thumbnail(2));
    EXPECT_EQ(World->CurrentRoom()->GetID(), "VOREL2");
}

TEST_F(MainWindow, ClosingEndsAModalAboutBox) {
    Create();
    TDlgAbout about(Desktop, QCursor(Qt::PointingHandCursor));
    Form->SetCompanions(&about, &Help);
    Form->show();
    QTimer::singleShot(50, Form.get(), [this] { Form->close(); });
    EXPECT_EQ(about.exec(), QDialog::Rejected);
    EXPECT_TRUE(std::filesystem::exists(SaveFileName('1')));
}

TEST_F(MainWindow, ClosingEndsAWaitingQuestionWithNo) {
    Create();
    Form->show();
    // As a quit signal does: the window closes while a question waits.
    QTimer::singleShot(50, Form.get(), [this] { Form->close(); });
    bool leftOpen = false;
    QTimer::singleShot(3000, [&leftOpen] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            leftOpen = true;
            box->reject();
        }
    });
    EXPECT_EQ(QtPlatform::AskWithMessageBox("Quit game?", MessageKind::Confirmation, MessageButtons::YesNo),
              MessageResult::No);
    EXPECT_FALSE(leftOpen) << "the question outlived the window";
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(std::filesystem::exists(SaveFileName('1')));
}

TEST_F(MainWindow, FirstShowingShowsAboutOnlyWhenWanted) {
    for (bool wanted : {true, false}) {
        Create();
        TDlgAbout about(Desktop, QCursor(Qt::PointingHandCursor));
        Form->SetCompanions(&about, &Help);
        ShowSplash = wanted;
        bool shown = false;
        QTimer::singleShot(300, &about, [&] {
            shown = about.isVisible();
            about.reject();
        });
        PaintsBeforeShow order(*Form->View(), about);
        EXPECT_EQ(Form->UndoButton()->cursor().shape(), Qt::ArrowCursor)
            << "no cursor read before the first frame";
        Form->show();
        QTest::qWait(400);
        EXPECT_EQ(shown, wanted);
        EXPECT_EQ(Form->UndoButton()->cursor().shape(), Platform.Cursors().Cursor(ckAction).shape());
        EXPECT_NE(Form->UndoButton()->cursor().shape(), Qt::ArrowCursor);
        // The dialog waits for the toy's first frame, so that it never holds it back.
        if (wanted) {
            EXPECT_GT(order.PaintsWhenShown, 0);
        }
        // The instructions window is placed where it hides nothing of the play area.
        QRect play(Form->View()->mapToGlobal(QPoint(0, 0)), Form->View()->size());
        EXPECT_FALSE(Help.geometry().intersects(play));
        Form.reset();
    }
}

TEST_F(MainWindow, WaitingEventLoopMarksTheWorldIdle) {
    Create();
    Form->TickTimer()->stop();
    World->Flags &= static_cast<uint16_t>(~wfIdle);
    QEventLoop loop; // a loop that blocks waiting, as the program's does
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(World->HasFlag(wfIdle));
}

TEST_F(MainWindow, F11TogglesFullScreen) {
    Create();
    Form->show();
    QTest::keyClick(Form.get(), Qt::Key_F11);
    EXPECT_TRUE(Form->windowState() & Qt::WindowFullScreen);
    QTest::keyClick(Form.get(), Qt::Key_F11);
    EXPECT_FALSE(Form->windowState() & Qt::WindowFullScreen);
}

TEST_F(MainWindow, MissingLibraryFailsTheStartWithItsMessage) {
    std::filesystem::remove(Dir.Path() / "program" / "vorel.zq5");
    Form = std::make_unique<TFormVorel>(Platform, 1);
    Form->ScriptLoader = TestRooms;
    EXPECT_ANY_THROW(Form->FormCreate());
    EXPECT_EQ(World, nullptr);
}

TEST_F(MainWindow, PressDragAndReleaseReachTheWindowWithoutATick) {
    StartWithoutTick(99);
    const int32_t ticks = World->TickCount();
    const QRgb before = WindowPixelAt({100, 100});
    ASSERT_NE(before, Grey(99));

    QTest::mousePress(Form->View(), Qt::LeftButton, {}, QPoint(100, 100));
    QCoreApplication::processEvents(); // the repaint Qt queued; the stopped tick cannot run
    EXPECT_EQ(WindowPixelAt({100, 100}), Grey(99));
    DragTo({200, 150});
    QCoreApplication::processEvents();
    EXPECT_EQ(WindowPixelAt({200, 150}), Grey(99));
    QTest::mouseRelease(Form->View(), Qt::LeftButton, {}, QPoint(300, 200));
    QCoreApplication::processEvents();
    EXPECT_EQ(WindowPixelAt({300, 200}), Grey(99));
    EXPECT_EQ(World->TickCount(), ticks);
    EXPECT_FALSE(World->Screen()->IsDirty());
}

TEST_F(MainWindow, WithTheOldTimingInputWaitsForTheTick) {
    StartWithoutTick(99);
    Form->SetInputShownAtOnce(false);
    const QRgb before = WindowPixelAt({100, 100});
    QTest::mouseClick(Form->View(), Qt::LeftButton, {}, QPoint(100, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(WindowPixelAt({100, 100}), before);
    Form->tmrTickTimer();
    QCoreApplication::processEvents();
    EXPECT_EQ(WindowPixelAt({100, 100}), Grey(99));
}

TEST_F(MainWindow, BothTimingsEndInTheSamePixelsAndSavedGame) {
    std::array<QImage, 2> pixels;
    std::array<std::vector<char>, 2> saved;
    QPoint viewOrigin;
    for (size_t atOnce = 0; atOnce < 2; ++atOnce) {
        StartWithoutTick(77);
        Form->SetInputShownAtOnce(atOnce == 1);
        QTest::mousePress(Form->View(), Qt::LeftButton, {}, QPoint(40, 40));
        Form->tmrTickTimer();
        for (int i = 1; i <= 5; ++i) {
            DragTo({40 + 30 * i, 40 + 20 * i});
            if (i % 2 == 0) Form->tmrTickTimer();
        }
        QTest::mouseRelease(Form->View(), Qt::LeftButton, {}, QPoint(250, 160));
        Form->tmrTickTimer();
        QCoreApplication::processEvents();
        pixels[atOnce] = WindowPixels();
        viewOrigin = Form->View()->mapTo(Form.get(), QPoint(0, 0));
        World->SaveGame('1', false);
        std::ifstream file(SaveFileName('1'), std::ios::binary);
        saved[atOnce].assign(std::istreambuf_iterator<char>(file), {});
        Form.reset();
        std::filesystem::remove(SaveFileName('1')); // the next start must not load it
    }
    EXPECT_EQ(pixels[1].pixel(viewOrigin + QPoint(250, 160)), Grey(77));
    EXPECT_EQ(pixels[0], pixels[1]);
    EXPECT_FALSE(saved[0].empty());
    EXPECT_EQ(saved[0], saved[1]);
}

TEST_F(MainWindow, CompanionsAreBuiltWhenFirstWanted) {
    int abouts = 0;
    int helps = 0;
    Create();
    Form->SetCompanionFactories(
        [&] {
            ++abouts;
            return std::make_unique<TDlgAbout>(Desktop, QCursor(Qt::PointingHandCursor));
        },
        [&] {
            ++helps;
            return std::make_unique<TFormHelp>();
        });
    Form->show();
    QTest::qWait(50);
    EXPECT_EQ(Form->AboutIfMade(), nullptr);
    EXPECT_EQ(Form->HelpIfMade(), nullptr);

    QTest::keyClick(Form.get(), Qt::Key_F1);
    ASSERT_NE(Form->HelpIfMade(), nullptr);
    EXPECT_TRUE(Form->HelpIfMade()->isVisible());
    // Placed like an instructions window made at start: clear of the play area.
    const QRect play(Form->View()->mapToGlobal(QPoint(0, 0)), Form->View()->size());
    EXPECT_FALSE(Form->HelpIfMade()->geometry().intersects(play));
    QTimer::singleShot(50, Form.get(), [this] { Form->AboutIfMade()->reject(); });
    Form->pnlAboutClick();
    Form->HelpIfMade()->cmdCloseClick();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_EQ(abouts, 1);
    EXPECT_EQ(helps, 1);
}

TEST_F(MainWindow, TickRestsWhileNothingHappensAndInputWakesIt) {
    Create();
    Form->show();
    Form->tmrTickTimer(); // the test rooms have no timers
    EXPECT_FALSE(Form->TickTimer()->isActive());
    const int32_t ticks = World->TickCount();
    QTest::qWait(300);
    EXPECT_EQ(World->TickCount(), ticks);

    QTest::mouseMove(Form->View(), QPoint(10, 10));
    EXPECT_TRUE(Form->TickTimer()->isActive());
    World->CurrentRoom()->AddTimer(1, 1000);
    Form->tmrTickTimer();
    EXPECT_TRUE(Form->TickTimer()->isActive()) << "a pending timer keeps it going";
    EXPECT_LE(World->TickCount(), ticks + 1) << "the rest of five ticks counted";
    World->CurrentRoom()->CancelTimers();
    Form->tmrTickTimer();
    ASSERT_FALSE(Form->TickTimer()->isActive());
    QTest::keyClick(Form.get(), Qt::Key_A);
    EXPECT_TRUE(Form->TickTimer()->isActive());
}

TEST_F(MainWindow, VersionLabelFollowsCapsLockWhileTheTickRests) {
    Create();
    Form->showMaximized();
    Form->tmrTickTimer();
    ASSERT_FALSE(Form->TickTimer()->isActive());
    EXPECT_FALSE(Form->VersionLabel()->isVisible());
    QTest::keyClick(Form.get(), Qt::Key_CapsLock); // offscreen, the key itself tells
    EXPECT_TRUE(Form->VersionLabel()->isVisible());
    QTest::keyClick(Form.get(), Qt::Key_CapsLock);
    EXPECT_FALSE(Form->VersionLabel()->isVisible());
}

TEST_F(MainWindow, OpensSizedToTheBlockAndNeverBelowTheLayout) {
    Create(2);
    EXPECT_EQ(Form->size(), QSize(BlockWidth * 2, BlockHeight * 2));
    EXPECT_EQ(Form->minimumSize(), QSize(538, 433));
    EXPECT_FALSE(Form->windowState() & Qt::WindowMaximized) << "a forced scale is not maximised away";
    Form.reset();
    Create();
    QRect available = Form->screen()->availableGeometry();
    int scale = ChooseScale(available.width(), available.height(), 0);
    EXPECT_EQ(Form->size(), QSize(BlockWidth * scale, BlockHeight * scale));
    EXPECT_TRUE(available.contains(Form->geometry()));
}

TEST_F(MainWindow, VersionLabelAndFourthThumbnailShowWhole) {
    for (int scale : {1, 2}) {
        Form.reset();
        Create(scale);
        QLabel* label = Form->VersionLabel();
        QRect needed = label->fontMetrics().boundingRect(label->text());
        EXPECT_LE(needed.width(), label->width()) << "scale " << scale;
        EXPECT_LE(label->fontMetrics().height(), label->height()) << "scale " << scale;
        // The frame image is 129 wide; a narrower box cuts its right edge.
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(Form->Thumbnail(i)->width(), 129 * scale) << i;
    }
}

TEST_F(MainWindow, InstructionsHideNothingOfThePlayAreaAndScaleWithTheToy) {
    // The offscreen screen (800 x 600) has no room beside the window: the
    // instructions go where they cover nothing of the play area.
    Create(1);
    Form->move(0, 0);
    Form->show();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    ASSERT_TRUE(Help.isVisible());
    QRect play(Form->View()->mapToGlobal(QPoint(0, 0)), Form->View()->size());
    EXPECT_FALSE(Help.geometry().intersects(play)) << "help at " << Help.x() << "," << Help.y();
    EXPECT_TRUE(Form->screen()->availableGeometry().contains(Help.geometry()));
    EXPECT_EQ(Help.size(), QSize(290, 130));
    Help.hide();

    Form.reset();
    Create(2);
    Form->show();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_EQ(Help.Scale(), 2);
    EXPECT_EQ(Help.size(), QSize(580, 260));
    EXPECT_EQ(Help.lblHelp->font().pixelSize(), 26);
}

TEST_F(MainWindow, MessageBoxesAreCentredOnTheMainWindow) {
    Create(1);
    Form->move(20, 30);
    Form->show();
    Platform.SetQuestionFunction({});
    QPoint boxCentre;
    QTimer::singleShot(50, [&boxCentre] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxCentre = box->geometry().center();
            box->close();
        }
    });
    ShowOk(Platform, "centred?", MessageKind::Plain);
    QPoint mainCentre = Form->geometry().center();
    EXPECT_LE((boxCentre - mainCentre).manhattanLength(), 4)
        << boxCentre.x() << "," << boxCentre.y() << " vs " << mainCentre.x() << "," << mainCentre.y();
}

TEST_F(MainWindow, UndoAndRedoKeysAndButtonsReachTheCurrentRoom) {
    Create();
    Form->show();
    TTestRoom& title = Room("TITLE");
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(Form.get(), Qt::Key_Y, Qt::ControlModifier);
    // Other keys with Z or Y are no command.
    QTest::keyClick(Form.get(), Qt::Key_Z);
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(Form.get(), Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(title.Commands, (std::vector<std::string>{"UNDO", "REDO", "REDO"}));

    // Greyed buttons take no click; available ones send their command.
    title.Commands.clear();
    const QImage greyed = Shot(Form->UndoButton());
    Click(Form->UndoButton());
    Click(Form->RedoButton());
    EXPECT_TRUE(title.Commands.empty());
    Form->ShowHistory(true, false);
    EXPECT_NE(Shot(Form->UndoButton()), greyed);
    Click(Form->UndoButton());
    Click(Form->RedoButton());
    EXPECT_EQ(title.Commands, std::vector<std::string>{"UNDO"});
    Form->ShowHistory(false, true);
    Click(Form->RedoButton());
    EXPECT_EQ(title.Commands, (std::vector<std::string>{"UNDO", "REDO"}));
    EXPECT_EQ(Shot(Form->UndoButton()), greyed);
}

TEST_F(MainWindow, UndoAndRedoSitUnderThePlayAreaClearOfItsNeighbours) {
    Create(2);
    Form->show();
    const QRect play(Form->View()->mapTo(Form.get(), QPoint(0, 0)), Form->View()->size());
    const QRect undo = Form->UndoButton()->geometry();
    const QRect redo = Form->RedoButton()->geometry();
    EXPECT_EQ(undo.size(), QSize(80, 34));
    EXPECT_GE(undo.top(), play.bottom());
    EXPECT_LT(undo.bottom(), Form->Thumbnail(1)->geometry().top());
    EXPECT_LT(undo.right(), redo.left());
    EXPECT_FALSE(undo.intersects(Form->VersionLabel()->geometry()));
    EXPECT_GT(undo.left(), play.left() + play.width() / 3);
    EXPECT_LT(redo.right(), play.right() - play.width() / 3);
}
