#include "shell/PlayArea.h"

#include "shell/EventBoundary.h"
#include "shell/QtConvert.h"

#include <QMouseEvent>

PlayArea::PlayArea(PlayAreaClient& client, QWidget* parent) : PixelView(512, 320, parent), Client(client) {
    setMouseTracking(true);
}

void PlayArea::Press(QMouseEvent* event) {
    std::optional<int> button = ButtonNumberOf(event->button());
    if (!button) return;
    TPoint at = ToTarget(event->position().toPoint());
    uint8_t shift = ShiftStateOf(*event);
    Guarded([&] { Client.ViewMouseDown(*button, shift, at.X, at.Y); });
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
    TPoint at = ToTarget(event->position().toPoint());
    uint8_t shift = ShiftStateOf(*event);
    Guarded([&] { Client.ViewMouseMove(shift, at.X, at.Y); });
}

void PlayArea::mouseReleaseEvent(QMouseEvent* event) {
    std::optional<int> button = ButtonNumberOf(event->button());
    if (!button) return;
    TPoint at = ToTarget(event->position().toPoint());
    uint8_t shift = ShiftStateOf(*event);
    Guarded([&] { Client.ViewMouseUp(*button, shift, at.X, at.Y); });
}

void PlayArea::FillDamage(const TRect& clip) {
    Client.ViewPaint(clip);
}
