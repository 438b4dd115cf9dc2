#include "shell/HeadlessPlatform.h"

#include "shell/DesktopFacts.h"

#include <cstdio>

std::optional<std::string> HeadlessPlatform::CommonDataFolder() const {
    return DesktopDataFolder();
}

std::string HeadlessPlatform::ProgramFolder() const {
    return ProgramDataFolder();
}

MessageResult HeadlessPlatform::ShowMessage(const std::string& text, MessageKind, MessageButtons buttons) {
    ++Shown;
    std::fprintf(stderr, "vorel: %s\n", text.c_str());
    return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::No;
}

uint32_t HeadlessPlatform::Milliseconds() const {
    return MonotonicMilliseconds();
}
