#include "shell/FlatFrame.h"

#include <QPainter>

#include <algorithm>

namespace {
// The edges of nested one-pixel rectangles, in one colour.
void FillBox(QPainter& painter, const QRect& r, int width, const QColor& colour) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
    painter.fillRect(QRect(r.left(), r.top() + width, width, r.height() - 2 * width), colour);
    painter.fillRect(QRect(r.right() - width + 1, r.top() + width, width, r.height() - 2 * width), colour);
}

// Lit top and left edges, shaded bottom and right ones; the two colours meet
// on a diagonal at the top-right and bottom-left corners.
void FillPanel(QPainter& painter, const QRect& r, int width, const QColor& lit, const QColor& shaded) {
    for (int i = 0; i < width; ++i) {
        painter.fillRect(QRect(r.left(), r.top() + i, r.width() - 1 - i, 1), lit);
        painter.fillRect(QRect(r.left() + i, r.top() + width, 1, r.height() - 1 - width - i), lit);
        painter.fillRect(QRect(r.left() + i, r.bottom() - i, r.width() - i, 1), shaded);
        painter.fillRect(QRect(r.right() - i, r.top() + i, 1, r.height() - width - i), shaded);
    }
}
} // namespace

// Box and panel frames whose edges do not meet; anything else is left to Qt.
bool FlatFrame::FilledEdgesMatch() const {
    const bool box = frameShape() == QFrame::Box, panel = frameShape() == QFrame::Panel;
    return (panel || (box && frameShadow() == QFrame::Plain)) && midLineWidth() == 0 && lineWidth() > 0 &&
           2 * lineWidth() < std::min(frameRect().width(), frameRect().height());
}

void FlatFrame::paintEvent(QPaintEvent* event) {
    if (!FilledEdgesMatch()) {
        QFrame::paintEvent(event);
        return;
    }
    const QPalette& colours = palette();
    QPainter painter(this);
    if (frameShadow() == QFrame::Plain)
        FillBox(painter, frameRect(), lineWidth(), colours.windowText().color());
    else if (frameShadow() == QFrame::Raised)
        FillPanel(painter, frameRect(), lineWidth(), colours.light().color(), colours.dark().color());
    else
        FillPanel(painter, frameRect(), lineWidth(), colours.dark().color(), colours.light().color());
}
