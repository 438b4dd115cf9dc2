#include "shell/FirstFrameProbe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {
class Probe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !Seen) {
            Seen = true;
            // Reported once the paint has been handled and flushed.
            QTimer::singleShot(0, this, [] {
                auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("first-frame %lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool Seen = false;
};
} // namespace

void WatchFirstFrame(QWidget& widget) {
    if (qEnvironmentVariableIsEmpty("VOREL_REPORT_FIRST_FRAME")) return;
    widget.installEventFilter(new Probe(&widget));
}
