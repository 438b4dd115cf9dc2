#pragma once
// Runs the event loop until condition holds or three seconds have passed;
// returns whether it holds.

#include <QCoreApplication>
#include <QDeadlineTimer>

template <class Condition> bool WaitUntil(Condition condition) {
    QDeadlineTimer deadline(3000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}
