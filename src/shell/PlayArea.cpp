#include "shell/PlayArea.h"

#include "shell/EventBoundary.h"
#include "shell/QtConvert.h"

#include <QMouseEvent>

PlayArea::PlayArea(PlayAreaClient& client, QWidget* parent) : PixelView(512, 320, parent), Client(client) {
    setMouseTracking(true);
}

template <class Handler> void PlayArea::Deliver(QMouseEvent* event, Handler handler) {
    TPoint at = ToTarget(event->position().toPoint());
    TShiftState shift = ShiftStateOf(*event);
    Guarded([&] { handler(shift, at); });
}

void PlayArea::Press(QMouseEvent* event) {
    std::optional<int> button = ButtonNumberOf(event->button());
    if (!button) return;
    Deliver(event, [&](TShiftState shift, TPoint at) { Client.ViewMouseDown(*button, shift, at.X, at.Y); });
}

void PlayArea::mousePressEvent(QMouseEvent* event) {
    Press(event);
}

// The second press of a double click arrives as its own event kind; the
// world sees it as a press with the double-click bit.
void PlayArea::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event);
}

void PlayArea::mouseMoveEvent(QMouseEvent* event) {
    Deliver(event, [&](TShiftState shift, TPoint at) { Client.ViewMouseMove(shift, at.X, at.Y); });
}

void PlayArea::mouseReleaseEvent(QMouseEvent* event) {
    std::optional<int> button = ButtonNumberOf(event->button());
    if (!button) return;
    Deliver(event, [&](TShiftState shift, TPoint at) { Client.ViewMouseUp(*button, shift, at.X, at.Y); });
}

void PlayArea::FillDamage(const TRect& clip) {
    Client.ViewPaint(clip);
}
