#include "engine/TimerScript.h"

#include "engine/Room.h"
#include "engine/World.h"

namespace {
uint64_t NextSerial() {
    static uint64_t counter = 0;
    return ++counter;
}

bool StillListed(const TTimerList& timers, const TTimerScriptInfo* node, uint64_t serial) {
    for (TTimerScriptInfo* timer : timers)
        if (timer == node && timer->Serial == serial) return true;
    return false;
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

void RunTimerScript(uint8_t kind) {
    if (kind >= tsGoVorel1 && kind <= tsGoVorel4) {
        World->GoRoom("VOREL" + std::to_string(kind - 7));
        return;
    }
    std::string name = TimerScriptName(kind);
    if (name.empty()) return; // kinds 0, 1 and above 11 are never scheduled
    if (TRoom* room = World->CurrentRoom()) room->RunScript("", name);
}

void TRoom::AddTimer(uint8_t kind, int32_t delay) {
    Timers.AddTail(std::make_unique<TTimerScriptInfo>(kind, delay + World->TickCount()));
}

TTimerScriptInfo* TRoom::FindTimer(uint8_t kind) const {
    for (TTimerScriptInfo* timer : Timers)
        if (timer->Kind == kind) return timer;
    return nullptr;
}

void TRoom::CancelTimer(uint8_t kind) {
    if (TTimerScriptInfo* timer = FindTimer(kind)) Timers.Remove(timer);
}

void TRoom::RunDueTimers(int32_t now) {
    TTimerScriptInfo* timer = Timers.Head();
    while (timer) {
        TTimerScriptInfo* next = Timers.Next(timer);
        uint64_t nextSerial = next ? next->Serial : 0;
        if (timer->DueTick <= now) {
            uint8_t kind = timer->Kind;
            Timers.Remove(timer);
            RunTimerScript(kind);
        }
        // The script may have changed the list: go on only from a node it kept.
        if (!next || !StillListed(Timers, next, nextSerial)) return;
        timer = next;
    }
}
