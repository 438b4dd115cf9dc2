#include "shell/ThumbnailBox.h"

#include "shell/EventBoundary.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

ThumbnailBox::ThumbnailBox(int tag, QWidget* parent) : PixelView(129, 79, parent), Number(tag) {}

void ThumbnailBox::mousePressEvent(QMouseEvent* event) {
    Pressed = event->button() == Qt::LeftButton;
}

void ThumbnailBox::mouseReleaseEvent(QMouseEvent* event) {
    bool clicked =
        Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    Pressed = false;
    if (clicked && OnClick) Guarded([&] { OnClick(Number); });
}

void ThumbnailBox::FillDamage(const TRect& clip) {
    if (OnPaint) OnPaint(Number, clip);
}

void ThumbnailBox::contextMenuEvent(QContextMenuEvent* event) {
    if (OnMenu) Guarded([&] { OnMenu(Number, event->globalPos()); });
}
