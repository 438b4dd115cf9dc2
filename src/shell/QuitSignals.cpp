#include "shell/QuitSignals.h"

#include "shell/EventBoundary.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int Pipe[2] = {-1, -1};
constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe work here: one byte into the pipe.
extern "C" void OnQuitSignal(int) {
    char byte = 1;
    ssize_t written = ::write(Pipe[1], &byte, 1);
    (void)written;
}
} // namespace

QuitSignals::QuitSignals(std::function<void()> onSignal) : OnSignal(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, Pipe) != 0) return;
    Notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(Pipe[0], &byte, 1) == 1 && OnSignal) Guarded(OnSignal);
    });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : Signals)
        ::sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    for (int s : Signals)
        std::signal(s, SIG_DFL);
    delete Notifier;
    Notifier = nullptr;
    for (int& fd : Pipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}
