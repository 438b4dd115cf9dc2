#pragma once
// For measurements: when the environment variable VOREL_REPORT_FIRST_FRAME
// is set, prints "first-frame <nanoseconds of the real-time clock>" once,
// just after the watched widget has been painted for the first time.

class QWidget;

void WatchFirstFrame(QWidget& widget);
