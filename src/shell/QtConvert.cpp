#include "shell/QtConvert.h"

#include <QMouseEvent>

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    case MessageKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

uint8_t ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick) {
    uint8_t state = 0;
    if (modifiers & Qt::ShiftModifier) state |= 0x01;
    if (modifiers & Qt::AltModifier) state |= 0x02;
    if (modifiers & Qt::ControlModifier) state |= 0x04;
    if (buttons & Qt::LeftButton) state |= 0x08;
    if (buttons & Qt::RightButton) state |= 0x10;
    if (buttons & Qt::MiddleButton) state |= 0x20;
    if (doubleClick) state |= 0x40;
    return state;
}

uint8_t ShiftStateOf(const QMouseEvent& event) {
    // A press counts its own button as held; a release no longer does.
    bool press = event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick;
    Qt::MouseButtons held = press ? event.buttons() | event.button() : event.buttons() & ~event.button();
    return ShiftStateOf(event.modifiers(), held, event.type() == QEvent::MouseButtonDblClick);
}

std::optional<int> ButtonNumberOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 0;
    case Qt::RightButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    default:
        return std::nullopt;
    }
}
