#include "shell/PanelButton.h"

#include "shell/EventBoundary.h"

#include <QMouseEvent>

PanelButton::PanelButton(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
}

void PanelButton::SetCaptionColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::WindowText, colour);
    p.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    p.setColor(QPalette::Disabled, QPalette::WindowText, colour);
    setPalette(p);
}

QColor PanelButton::CaptionColour() const {
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void PanelButton::SetBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void PanelButton::mousePressEvent(QMouseEvent* event) {
    Pressed = event->button() == Qt::LeftButton;
    if (Pressed) setFrameShadow(QFrame::Sunken);
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event) {
    bool clicked =
        Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    Pressed = false;
    setFrameShadow(QFrame::Raised);
    if (clicked && isEnabled() && OnClick) Guarded(OnClick);
}
