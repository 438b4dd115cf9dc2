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

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick) {
    return TShiftState()
        .With(ssShift, modifiers.testFlag(Qt::ShiftModifier))
        .With(ssAlt, modifiers.testFlag(Qt::AltModifier))
        .With(ssCtrl, modifiers.testFlag(Qt::ControlModifier))
        .With(ssLeft, buttons.testFlag(Qt::LeftButton))
        .With(ssRight, buttons.testFlag(Qt::RightButton))
        .With(ssMiddle, buttons.testFlag(Qt::MiddleButton))
        .With(ssDouble, doubleClick);
}

TShiftState ShiftStateOf(const QMouseEvent& event) {
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
