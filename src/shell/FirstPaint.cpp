#include "shell/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// Goes with the widget, or once it has passed the function on.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& widget, std::function<void()> then) : QObject(&widget), Then(std::move(then)) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && Then) {
            watched->removeEventFilter(this);
            // Queued, so that it runs after the paint has been flushed.
            QTimer::singleShot(0, watched, std::move(Then));
            Then = nullptr;
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> Then;
};
} // namespace

void AfterFirstPaint(QWidget& widget, std::function<void()> then) {
    new FirstPaintWatch(widget, std::move(then));
}
