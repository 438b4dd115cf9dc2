#pragma once
// Runs a function once, just after a widget has first been painted and its
// pixels handed to the window system: what comes then never holds back the
// first frame.

#include <functional>

class QWidget;

void AfterFirstPaint(QWidget& widget, std::function<void()> then);
