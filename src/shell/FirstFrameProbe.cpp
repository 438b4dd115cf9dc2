#include "shell/FirstFrameProbe.h"

#include "shell/FirstPaint.h"

#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

void WatchFirstFrame(QWidget& widget) {
    if (qEnvironmentVariableIsEmpty("VOREL_REPORT_FIRST_FRAME")) return;
    const bool quit = qEnvironmentVariable("VOREL_REPORT_FIRST_FRAME") == "quit";
    AfterFirstPaint(widget, [&widget, quit] {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        const QSize window = widget.window()->size() * widget.devicePixelRatio();
        // The processor time of the whole process so far: unlike the time on
        // the clock, no other program on the machine can lengthen it.
        timespec used{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        std::printf("first-frame %lld %dx%d %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    window.width(), window.height(),
                    static_cast<long long>(used.tv_sec) * 1000000 + used.tv_nsec / 1000);
        std::fflush(stdout);
        if (quit) std::_Exit(0);
    });
}
