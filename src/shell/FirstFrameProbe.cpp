#include "shell/FirstFrameProbe.h"

#include "shell/FirstPaint.h"

#include <QtGlobal>

#include <chrono>
#include <cstdio>

void WatchFirstFrame(QWidget& widget) {
    if (qEnvironmentVariableIsEmpty("VOREL_REPORT_FIRST_FRAME")) return;
    AfterFirstPaint(widget, [] {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("first-frame %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
    });
}
