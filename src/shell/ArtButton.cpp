#include "shell/ArtButton.h"

#include "shell/EventBoundary.h"
#include "shell/PngFile.h"

#include <QMouseEvent>
#include <QPainter>

ArtButton::ArtButton(const QString& picture, const QString& caption, QWidget* parent)
    : QWidget(parent), Frames(ReadPng(picture)), Caption(caption) {}

void ArtButton::SetAvailable(bool available) {
    if (available == Available) return;
    Available = available;
    update();
}

void ArtButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Frames.height() < 2) {
        PaintPlain(painter);
        return;
    }
    const int frameHeight = Frames.height() / 2;
    const QRect source(0, Available ? 0 : frameHeight, Frames.width(), frameHeight);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A held button sinks by one of its own pixels.
    const int sink = Pressed && Available ? height() / frameHeight : 0;
    painter.drawImage(rect().translated(0, sink), Frames, source);
}

void ArtButton::PaintPlain(QPainter& painter) {
    // The faces and inks of the artwork's tool buttons.
    painter.fillRect(rect(), Available ? QColor(0xec, 0xec, 0xec) : QColor(0xde, 0xde, 0xde));
    painter.setPen(Available ? QColor(0x1c, 0x18, 0x30) : QColor(0xaa, 0xaa, 0xaa));
    painter.drawText(rect(), Qt::AlignCenter, Caption);
}

void ArtButton::mousePressEvent(QMouseEvent* event) {
    Pressed = event->button() == Qt::LeftButton;
    update();
}

void ArtButton::mouseReleaseEvent(QMouseEvent* event) {
    bool clicked =
        Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    Pressed = false;
    update();
    if (clicked && Available && OnClick) Guarded(OnClick);
}
