#include "shell/CapsLock.h"
#include "shell/EventBoundary.h"
#include "shell/PixelView.h"
#include "shell/PngFile.h"
#include "shell/ProgramCursors.h"
#include "shell/QtConvert.h"
#include "shell/QtPlatform.h"
#include "shell/QuitSignals.h"
#include "shell/ScaledCrisp.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <random>

TEST(QtPlatformTest, ShiftAndCtrlFollowTheLastInputEvent) {
    QtPlatform platform({});
    QWidget widget;
    widget.show();
    QTest::keyPress(&widget, Qt::Key_Shift);
    EXPECT_TRUE(platform.IsShiftDown());
    EXPECT_FALSE(platform.IsCtrlDown());
    QTest::mouseMove(&widget, QPoint(5, 5));
    QTest::mousePress(&widget, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    EXPECT_TRUE(platform.IsCtrlDown());
    EXPECT_FALSE(platform.IsShiftDown());
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::keyRelease(&widget, Qt::Key_Shift);
    EXPECT_FALSE(platform.IsShiftDown());
    EXPECT_FALSE(platform.IsCtrlDown());
}

TEST(QtPlatformTest, CapsLockOffscreenFollowsItsKeyAndCanBeSet) {
    QtPlatform platform({});
    QWidget widget;
    widget.show();
    bool before = platform.IsCapsLockOn();
    QTest::keyClick(&widget, Qt::Key_CapsLock);
    EXPECT_NE(platform.IsCapsLockOn(), before);
    platform.SetCapsLockOverride(true);
    EXPECT_TRUE(platform.IsCapsLockOn());
    platform.SetCapsLockOverride(false);
    EXPECT_FALSE(platform.IsCapsLockOn());
}

namespace {
// A keyboard-extension StateNotify as the wire carries it, with event base 85.
std::array<uint8_t, 32> StateNotify(uint8_t lockedMods, uint8_t kind = 2) {
    std::array<uint8_t, 32> event{};
    event[0] = 85;
    event[1] = kind;
    event[9] = 0xFF; // the effective modifiers, which a latched Shift also sets
    event[12] = lockedMods;
    return event;
}
} // namespace

TEST(CapsLockTest, StateNotificationsCarryTheLockedModifiers) {
    EXPECT_EQ(CapsLockFromXkbEvent(StateNotify(0x02).data(), 85), true);
    EXPECT_EQ(CapsLockFromXkbEvent(StateNotify(0x10).data(), 85), false); // Num Lock only
    std::array<uint8_t, 32> sent = StateNotify(0x12);
    sent[0] |= 0x80; // sent by a client, not the server
    EXPECT_EQ(CapsLockFromXkbEvent(sent.data(), 85), true);
    EXPECT_EQ(CapsLockFromXkbEvent(StateNotify(0x02, 3).data(), 85), std::nullopt); // another kind
    EXPECT_EQ(CapsLockFromXkbEvent(StateNotify(0x02).data(), 86), std::nullopt);    // another event
    EXPECT_EQ(CapsLockFromXkbEvent(StateNotify(0x02).data(), -1), std::nullopt);    // no extension
}

TEST(CapsLockTest, WithoutTheServerTheKeyToggles) {
    CapsLockTracker tracker; // offscreen: there is no X server to follow
    ASSERT_FALSE(tracker.FollowsServer());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier, QString(), true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_CapsLock, Qt::NoModifier);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    tracker.NoticeKey(press);
    tracker.NoticeKey(repeat);
    tracker.NoticeKey(release);
    tracker.NoticeKey(other);
    EXPECT_TRUE(tracker.On());
    tracker.NoticeKey(press);
    EXPECT_FALSE(tracker.On());
    std::array<uint8_t, 32> event = StateNotify(0x02);
    tracker.nativeEventFilter("xcb_generic_event_t", event.data(), nullptr);
    EXPECT_FALSE(tracker.On()) << "an event of an extension never queried";
}

TEST(QtPlatformTest, MessagesGoThroughTheQuestionFunction) {
    QtPlatform platform({});
    std::vector<std::string> asked;
    platform.SetQuestionFunction([&](const std::string& text, MessageKind, MessageButtons buttons) {
        asked.push_back(text);
        return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    });
    EXPECT_TRUE(AskYesNo(platform, "Quit game?", MessageKind::Error));
    ShowOk(platform, "Hello", MessageKind::Plain);
    EXPECT_EQ(asked, (std::vector<std::string>{"Quit game?", "Hello"}));
}

TEST(QtPlatformTest, HourglassIsSetOnceAndRemovedOnce) {
    QWidget window;
    window.show();
    {
        QtPlatform platform({});
        platform.SetScreenCursor(ScreenCursor::Hourglass);
        platform.SetScreenCursor(ScreenCursor::Hourglass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        platform.SetScreenCursor(ScreenCursor::Default);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        platform.SetScreenCursor(ScreenCursor::Default);
        platform.SetScreenCursor(ScreenCursor::Hourglass);
    }
    // A platform that goes away while busy takes its hourglass with it.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// While no window is on the screen (the loading at start) the hourglass is
// only remembered: a window shown while still busy brings it up.
TEST(QtPlatformTest, TheHourglassWaitsForAWindowToShowItOn) {
    QtPlatform platform({});
    platform.SetScreenCursor(ScreenCursor::Hourglass);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    platform.SetScreenCursor(ScreenCursor::Default);
    platform.SetScreenCursor(ScreenCursor::Hourglass);
    QWidget window;
    window.show();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    platform.SetScreenCursor(ScreenCursor::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // Only windows count: a child shown in a busy spell brings up nothing twice.
    platform.SetScreenCursor(ScreenCursor::Hourglass);
    QWidget child(&window);
    child.show();
    platform.SetScreenCursor(ScreenCursor::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtPlatformTest, PlayAreaCursorsByKind) {
    QtPlatform platform({});
    QWidget area;
    platform.SetPlayArea(&area);
    platform.SetPlayAreaCursor(ckNone);
    EXPECT_EQ(area.cursor().shape(), Qt::BlankCursor);
    platform.SetPlayAreaCursor(ckDefault);
    EXPECT_EQ(area.cursor().shape(), Qt::ArrowCursor);
    platform.SetPlayAreaCursor(ckTake);
    EXPECT_NE(area.cursor().shape(), Qt::ArrowCursor);
}

TEST(QtPlatformTest, MillisecondsAreMonotonic) {
    QtPlatform platform({});
    uint32_t a = platform.Milliseconds();
    QTest::qWait(20);
    uint32_t b = platform.Milliseconds();
    EXPECT_GE(b - a, 15u);
    EXPECT_LT(b - a, 2000u);
}

TEST(QtPlatformTest, ArgumentsAndFolders) {
    QtPlatform platform({"mordanthe"});
    EXPECT_EQ(platform.Arguments(), std::vector<std::string>{"mordanthe"});
    EXPECT_EQ(platform.ProgramFolder(), QCoreApplication::applicationDirPath().toStdString());
    ASSERT_TRUE(platform.CommonDataFolder());
    EXPECT_EQ(*platform.CommonDataFolder(), qEnvironmentVariable("XDG_DATA_HOME").toStdString());
}

TEST(ProgramCursorsTest, PicturesWithHotSpotsAndFallbacks) {
    QTemporaryDir dir;
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir.path() + "/cursor2.png"));
    QFile spots(dir.path() + "/cursors.txt");
    ASSERT_TRUE(spots.open(QIODevice::WriteOnly));
    spots.write("2 5 7\n3 99 99\nnonsense line\n");
    spots.close();
    ProgramCursors cursors(dir.path());
    EXPECT_EQ(cursors.PicturesRead(), 0) << "pictures are read when first wanted";
    EXPECT_EQ(cursors.Cursor(ckExamine).shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursors.PicturesRead(), 1);
    EXPECT_TRUE(cursors.Loaded(ckExamine));
    EXPECT_FALSE(cursors.Loaded(ckAction));
    EXPECT_EQ(cursors.Cursor(ckExamine).hotSpot(), QPoint(5, 7));
    EXPECT_EQ(cursors.Cursor(ckExamine).shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursors.Cursor(ckAction).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(cursors.Cursor(static_cast<CursorKind>(7)).shape(), Qt::ArrowCursor);
}

// The program's pictures are read as PNG and nothing else, so that no image
// plugin is asked (and loaded) to guess what a file is.
TEST(PngFileTest, ReadsPngsOnlyWhateverTheName) {
    QTemporaryDir dir;
    QImage picture(7, 5, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.filePath("real.png"), "PNG"));
    ASSERT_TRUE(picture.save(dir.filePath("bitmap.png"), "BMP"));
    const QImage read = ReadPng(dir.filePath("real.png"));
    EXPECT_EQ(read.size(), QSize(7, 5));
    EXPECT_EQ(read.pixel(3, 2), QColor(Qt::blue).rgb());
    EXPECT_TRUE(ReadPng(dir.filePath("bitmap.png")).isNull()) << "a bitmap under a PNG's name was read";
    EXPECT_TRUE(ReadPng(dir.filePath("missing.png")).isNull());
}

TEST(Conversions, ShiftStateByteAndButtons) {
    EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton, false).Byte(),
              0x01 | 0x04 | 0x08);
    EXPECT_EQ(ShiftStateOf(Qt::AltModifier, Qt::RightButton | Qt::MiddleButton, true).Byte(),
              0x02 | 0x10 | 0x20 | 0x40);
    EXPECT_EQ(ButtonNumberOf(Qt::LeftButton), 0);
    EXPECT_EQ(ButtonNumberOf(Qt::RightButton), 1);
    EXPECT_EQ(ButtonNumberOf(Qt::MiddleButton), 2);
    EXPECT_FALSE(ButtonNumberOf(Qt::BackButton));
    EXPECT_EQ(ToTRect(ToQRect({3, 4, 10, 20})), (TRect{3, 4, 10, 20}));
}

TEST(EventBoundaryTest, EscapedErrorsAreReportedAndStopped) {
    std::vector<std::string> reports;
    SetErrorReport([&](const std::string& m) { reports.push_back(m); });
    Guarded([] { throw std::runtime_error("Tick: broken"); });
    Guarded([] { throw 42; });
    Guarded([] {});
    SetErrorReport(nullptr);
    EXPECT_EQ(reports, (std::vector<std::string>{"Tick: broken", "Unknown error"}));
}

TEST(EventBoundaryTest, ErrorInsideTheReportDoesNotNest) {
    int calls = 0;
    SetErrorReport([&](const std::string&) {
        ++calls;
        Guarded([] { throw std::runtime_error("again"); });
    });
    Guarded([] { throw std::runtime_error("first"); });
    SetErrorReport(nullptr);
    EXPECT_EQ(calls, 1);
}

namespace {
// A view whose damage fill paints one known pixel and counts its calls.
class ProbeView : public PixelView {
public:
    ProbeView() : PixelView(8, 4, nullptr) {}
    std::vector<TRect> Fills;

protected:
    void FillDamage(const TRect& clip) override {
        Fills.push_back(clip);
        Target().ScanLine(1)[2] = 0xFF00FF00u;
        Target().Blitted({2, 1, 3, 2}); // must not ask for another paint
    }
};
} // namespace

TEST(PixelViewTest, PaintsScaledCrispAndOnlyTheAskedPart) {
    ProbeView view;
    view.SetScale(3);
    view.resize(24, 12);
    QImage shot(24, 12, QImage::Format_RGB32);
    view.render(&shot);
    ASSERT_FALSE(view.Fills.empty());
    EXPECT_EQ(view.Fills.back(), (TRect{0, 0, 8, 4}));
    for (int y = 3; y < 6; ++y)
        for (int x = 6; x < 9; ++x)
            EXPECT_EQ(shot.pixel(x, y), 0xFF00FF00u) << x << "," << y;
    EXPECT_EQ(shot.pixel(5, 3), 0xFF000000u);
    EXPECT_EQ(shot.pixel(9, 3), 0xFF000000u);
    EXPECT_EQ(view.ToTarget(QPoint(8, 5)), (TPoint{2, 1}));

    view.Fills.clear();
    view.render(&shot, QPoint(), QRegion(7, 4, 2, 2));
    ASSERT_EQ(view.Fills.size(), 1u);
    EXPECT_EQ(view.Fills[0], (TRect{2, 1, 3, 2}));
}

// Enlarged a band of lines at a time, any part at any scale lands where the
// painter enlarging it whole would put it: every target pixel shows source
// pixel (x / scale, y / scale), and nothing outside the part is touched.
TEST(ScaledCrispTest, DrawnPartsAreBlocksOfTheirSourcePixelsAndNothingElse) {
    std::mt19937 random(5);
    QImage source(70, 45, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x * 3, y * 5, static_cast<int>(random() % 256)));
    for (int round = 0; round < 60; ++round) {
        const int scale = 1 + round % 3;
        auto pick = [&random](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
        const QRect part(pick(70), pick(45), 1 + pick(70), 1 + pick(45)); // may reach past the edges
        const QPoint to(pick(20), pick(20));
        QImage target(70 * 3 + 40, 45 * 3 + 40, QImage::Format_RGB32);
        target.fill(Qt::black);
        {
            QPainter painter(&target);
            DrawScaledCrisp(painter, to, source, part, scale);
        }
        const QRect drawn = part.intersected(source.rect());
        const QRect blocks(to + (drawn.topLeft() - part.topLeft()) * scale, drawn.size() * scale);
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x) {
                const QPoint at(x, y);
                const QPoint inBlocks = at - blocks.topLeft();
                const QRgb want = blocks.contains(at) ? source.pixel(drawn.x() + inBlocks.x() / scale,
                                                                     drawn.y() + inBlocks.y() / scale)
                                                      : qRgb(0, 0, 0);
                ASSERT_EQ(target.pixel(at), want) << "round " << round << " at " << x << "," << y;
            }
    }
}

namespace {
int ThreadsOfThisProcess() {
    const auto tasks = std::filesystem::directory_iterator("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}
} // namespace

// Behind other widgets, a view is painted through a clip of several
// rectangles, and Qt hands a tall image drawn through such a clip to helper
// threads that cost more to start than the copy. Copied and enlarged in
// bands, a tall image is drawn whole on this thread, and only inside the clip.
TEST(ScaledCrispTest, TallImagesThroughAClipOfManyRectanglesStayOnThisThread) {
    QImage source(200, 300, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        source.scanLine(y)[0] = static_cast<uchar>(y); // blue of the first pixel = line
    QImage target(420, 620, QImage::Format_RGB32);
    target.fill(Qt::black);
    const QRegion clip = QRegion(target.rect()) - QRegion(100, 100, 20, 20);
    const int threads = ThreadsOfThisProcess();
    {
        QPainter painter(&target);
        painter.setClipRegion(clip);
        DrawCopied(painter, QPoint(210, 0), source, source.rect());
        DrawScaledCrisp(painter, QPoint(0, 0), source, QRect(0, 0, 100, 300), 2);
    }
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    for (int y = 0; y < source.height(); ++y) {
        ASSERT_EQ(qBlue(target.pixel(210, y)), y % 256) << y;
        ASSERT_EQ(qBlue(target.pixel(1, 2 * y + 1)), y % 256) << y;
    }
    EXPECT_EQ(target.pixel(110, 110), qRgb(0, 0, 0)); // the hole in the clip
    EXPECT_EQ(target.pixel(410, 0), qRgb(0, 0, 0));   // right of the copy
}

TEST(QuitSignalsTest, TerminationClosesOnTheEventLoopNotInTheHandler) {
    int closes = 0;
    {
        QuitSignals quit([&] { ++closes; });
        std::raise(SIGTERM);
        EXPECT_EQ(closes, 0); // nothing runs inside the signal handler
        for (int i = 0; i < 50 && closes == 0; ++i)
            QTest::qWait(5);
        EXPECT_EQ(closes, 1);
        std::raise(SIGHUP);
        for (int i = 0; i < 50 && closes == 1; ++i)
            QTest::qWait(5);
        EXPECT_EQ(closes, 2);
    }
}
