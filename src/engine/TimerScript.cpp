#include "engine/TimerScript.h"

namespace {
uint64_t NextSerial() {
    static uint64_t counter = 0;
    return ++counter;
}
} // namespace

TTimerScriptInfo::TTimerScriptInfo(uint8_t kind, int32_t dueTick)
    : Kind(kind), DueTick(dueTick), Serial(NextSerial()) {}

std::string TimerScriptName(uint8_t kind) {
    switch (kind) {
    case tsTick:
        return "TICK";
    case tsTimer:
        return "TIMER";
    case tsDelay:
        return "DELAY";
    case tsMusic:
        return "MUSIC";
    case tsFlash:
        return "FLASH";
    case tsRelease:
        return "RELEASE";
    default:
        return "";
    }
}
