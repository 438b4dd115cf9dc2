#include "shell/FirstFrameProbe.h"

#include "shell/FirstPaint.h"

#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

void WatchFirstFrame(QWidget& widget) {
    if (qEnvironmentVariableIsEmpty("VOREL_REPORT_FIRST_FRAME")) return;
    const bool quit = qEnvironmentVariable("VOREL_REPORT_FIRST_FRAME") == "quit";
    AfterFirstPaint(widget, [&widget, quit] {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        const QSize window = widget.window()->size() * widget.devicePixelRatio();
        std::printf("first-frame %lld %dx%d\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    window.width(), window.height());
        std::fflush(stdout);
        if (quit) std::_Exit(0);
    });
}
