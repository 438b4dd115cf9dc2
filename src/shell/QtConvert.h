#pragma once
// Every conversion between Qt types and the core's types.

#include "foundation/Geometry.h"
#include "platform/Platform.h"

#include <QColor>
#include <QMessageBox>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QMouseEvent;

inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, RectWidth(r), RectHeight(r));
}
inline TRect ToTRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline TPoint ToTPoint(const QPoint& p) {
    return {p.x(), p.y()};
}
inline QString ToQString(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string ToStd(const QString& s) {
    return s.toStdString();
}
// A path for the core: local 8-bit encoding, as the file functions want it.
inline std::string ToStdPath(const QString& s) {
    return std::string(s.toLocal8Bit().constData());
}
inline QString FromStdPath(const std::string& s) {
    return QString::fromLocal8Bit(s.c_str());
}

QMessageBox::Icon IconOf(MessageKind kind);

// The play area's shift-state byte: bit 0 Shift, 1 Alt, 2 Ctrl, 3 left,
// 4 right, 5 middle button held, 6 a double click.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick);
TShiftState ShiftStateOf(const QMouseEvent& event);
// 0 left, 1 right, 2 middle; nothing for other buttons.
std::optional<int> ButtonNumberOf(Qt::MouseButton button);
