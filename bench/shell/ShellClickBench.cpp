// One colouring click and one drag step through the real shell, offscreen, on
// the built data: the mouse events reach the play area, the world handles
// them, the damage is flushed at once and Qt paints the scaled play area into
// the window's backing store. Measured in screen copies (one memcpy of the
// 512 x 320 screen, timed in the same rounds), the unit of colouring_bench's
// core-only figures, at scales 1, 2 and 3.
//
// Usage: shell_click_bench [BIN_DIR]   (default: the build tree's)

#include "BenchTiming.h"
#include "activity/ActivityRoomKinds.h"
#include "engine/World.h"
#include "foundation/Paths.h"
#include "shell/FormVorel.h"
#include "shell/QtPlatform.h"
#include "shell/ShippedData.h"
#include "shell/SplashSetting.h"
#include "shell/ThumbnailBox.h"
#include "support/FakePlatform.h"
#include "shell/ColouringRoomPoints.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Spot = ColouringRoomPoints<QPoint>;

class Session {
public:
    Session(QtPlatform& platform, int scale) : Scale(scale), Form(platform, scale) {
        Form.SetCompanions(nullptr, nullptr);
        Form.FormCreate();
        Form.resize(600 * scale, 480 * scale);
        Form.showNormal();
        if (!QTest::qWaitForWindowExposed(&Form)) std::fprintf(stderr, "the window was not shown\n");
        QTest::mouseClick(Form.Thumbnail(1), Qt::LeftButton, {}, QPoint(60, 40));
        Settle();
        for (QPoint at : {Spot::ObjectButton5, Spot::ObjectButton6, Spot::FirstIcon})
            Click(at, {});
        // Only input brings pixels to the window from here on.
        Form.TickTimer()->stop();
        QCoreApplication::processEvents();
    }
    bool Ready() const { return World && World->CurrentRoom() && World->CurrentRoom()->GetID() == "VOREL1"; }

    // Shift makes every fill take a random colour, so that every click changes the sky.
    void ClickSky() {
        QTest::mousePress(Form.View(), Qt::LeftButton, Qt::ShiftModifier, Scaled(Spot::Sky));
        QTest::mouseRelease(Form.View(), Qt::LeftButton, Qt::ShiftModifier, Scaled(Spot::Sky));
        QCoreApplication::processEvents();
    }
    // The clicks on the sky let the object go: select it again, then press on it.
    void Grab() {
        Form.TickTimer()->start();
        Click(Spot::FirstIcon, {});
        Form.TickTimer()->stop();
        QTest::mousePress(Form.View(), Qt::LeftButton, {}, Scaled(Spot::CatEar));
        QCoreApplication::processEvents();
    }
    bool Holding() const { return World->CapturedBox() != nullptr; }
    void DragStep(int call) {
        const QPoint at = Scaled(Spot::CatEar + QPoint(call % 2, call % 2));
        QMouseEvent move(QEvent::MouseMove, at, Form.View()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(Form.View(), &move);
        QCoreApplication::processEvents();
    }
    void Release() { QTest::mouseRelease(Form.View(), Qt::LeftButton, {}, Scaled(Spot::CatEar)); }

private:
    QPoint Scaled(QPoint at) const { return at * Scale; }
    void Settle() { QTest::qWait(400); }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(Form.View(), Qt::LeftButton, modifiers, Scaled(at));
        Settle();
    }

    int Scale;
    TFormVorel Form;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        qputenv(variable, home.path().toLocal8Bit());
    QApplication app(argc, argv);
    const std::string binDir = argc > 1 ? argv[1] : VOREL_BIN_DIR;
    if (!std::filesystem::exists(binDir + "/vorel.zq5")) {
        std::fprintf(stderr, "no data in %s: build the data files first\n", binDir.c_str());
        return 1;
    }
    FakePlatform desktop;
    desktop.ProgramDir = binDir;
    desktop.DataFolder = home.path().toStdString() + "/data";
    EnsurePaths(desktop, true);
    InstallShippedData(ProgramPath + "dat/", DatPath);
    RegisterActivityRoomKinds();
    ShowSplash = false;
    QtPlatform platform{{}};
    std::vector<std::string> messages;
    platform.SetQuestionFunction([&](const std::string& text, MessageKind, MessageButtons) {
        messages.push_back(text);
        return MessageResult::No;
    });

    std::vector<uint8_t> screenA(512 * 320, 1), screenB(512 * 320, 2);
    auto copy = [&](int i) {
        std::memcpy(i % 2 ? screenA.data() : screenB.data(), i % 2 ? screenB.data() : screenA.data(),
                    screenA.size());
    };
    std::printf("Through the shell, offscreen, in screen copies (512 x 320 memcpy) timed in the same\n"
                "rounds: median (lowest..highest) of 11 rounds, processor time\n");
    for (int scale : {1, 2, 3}) {
        Session session(platform, scale);
        if (!session.Ready() || !messages.empty()) {
            std::fprintf(stderr, "the session did not reach picture 1%s%s\n", messages.empty() ? "" : ": ",
                         messages.empty() ? "" : messages.front().c_str());
            return 1;
        }
        const std::vector<std::vector<double>> clicks =
            RoundNanos({copy, [&](int) { session.ClickSky(); }});
        session.Grab();
        if (!session.Holding()) {
            std::fprintf(stderr, "the drag did not start\n");
            return 1;
        }
        const std::vector<std::vector<double>> drags =
            RoundNanos({copy, [&](int call) { session.DragStep(call); }});
        session.Release();
        const Spread copyNs = SpreadOf(clicks[0]);
        const Spread click = SpreadOf(RoundRatios(clicks[0], clicks[1]));
        const Spread drag = SpreadOf(RoundRatios(drags[0], drags[1]));
        std::printf("scale %d: screen copy %.1f us; click %6.1f copies (%.1f..%.1f) = %.0f us; "
                    "drag step %6.1f copies (%.1f..%.1f) = %.0f us\n",
                    scale, copyNs.Median / 1000, click.Median, click.Low, click.High,
                    SpreadOf(clicks[1]).Median / 1000, drag.Median, drag.Low, drag.High,
                    SpreadOf(drags[1]).Median / 1000);
    }
    return 0;
}
