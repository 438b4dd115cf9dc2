#pragma once
// For measurements: when the environment variable VOREL_REPORT_FIRST_FRAME
// is set, prints "first-frame <nanoseconds of the real-time clock> <W>x<H>
// <microseconds of processor time>" once, just after the watched widget has
// been painted for the first time; W x H is the size of its window in device
// pixels, what the first frame had to fill, and the processor time is the
// whole process's so far. Set to "quit", the program then ends at once,
// without tidying up or saving, so that a start alone can be measured (under
// callgrind, say).

class QWidget;

void WatchFirstFrame(QWidget& widget);
