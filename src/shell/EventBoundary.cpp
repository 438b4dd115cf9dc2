#include "shell/EventBoundary.h"

#include <cstdio>

namespace {
std::function<void(const std::string&)>& Report() {
    static std::function<void(const std::string&)> report;
    return report;
}
} // namespace

void SetErrorReport(std::function<void(const std::string&)> report) {
    Report() = std::move(report);
}

void ReportEscapedError(const std::string& message) {
    // An error box runs a nested event loop; an error raised inside it must
    // not open a second box over the first.
    static bool reporting = false;
    if (reporting || !Report()) {
        std::fprintf(stderr, "vorel: %s\n", message.c_str());
        return;
    }
    reporting = true;
    try {
        Report()(message);
    } catch (...) {
        std::fprintf(stderr, "vorel: %s\n", message.c_str());
    }
    reporting = false;
}
