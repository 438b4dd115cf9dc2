#pragma once
// The one place where errors stop on their way to Qt's event loop: every
// event handler and timer slot runs through Guarded, which shows an escaping
// error in an error box and lets the program go on.

#include <exception>
#include <functional>
#include <string>

// How an escaped error is shown (the platform's default error report); by
// default it is written to the standard error stream.
void SetErrorReport(std::function<void(const std::string&)> report);
void ReportEscapedError(const std::string& message);

// Runs handler; an error it lets out goes to report as its message.
template <class Report, class Handler> void CatchInto(Report&& report, Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("Unknown error");
    }
}

template <class Handler> void Guarded(Handler&& handler) noexcept {
    CatchInto(ReportEscapedError, handler);
}
