#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (the end of a desktop session, Ctrl+C in
// a terminal) into an ordinary close of the main window on the event loop,
// so the pictures are saved as when the child closes the window.

#include <QObject>

#include <functional>

class QSocketNotifier;

class QuitSignals : public QObject {
public:
    // One at a time; onSignal runs on the event loop, never in the handler.
    explicit QuitSignals(std::function<void()> onSignal);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    std::function<void()> OnSignal;
    QSocketNotifier* Notifier = nullptr;
};
