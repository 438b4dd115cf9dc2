#pragma once
// Timer scripts: scripts a room asks to have run in itself after a number of
// ticks. Only the current room's are run; changing rooms cancels them all.

#include "foundation/KelList.h"

#include <cstdint>
#include <string>

enum : uint8_t {
    tsTick = 2,
    tsTimer = 3,
    tsDelay = 4,
    tsMusic = 5,
    tsFlash = 6,
    tsRelease = 7,
    tsGoVorel1 = 8, // 8..11 go to VOREL1..VOREL4
    tsGoVorel4 = 11,
};

class TTimerScriptInfo : public TKelNode {
public:
    TTimerScriptInfo(uint8_t kind, int32_t dueTick);
    uint8_t Kind;
    int32_t DueTick;
    // Tells a node apart from a later one that took its freed address.
    const uint64_t Serial;
};

class TTimerList : public TKelListOf<TTimerScriptInfo> {};

// The script name a kind runs ("TIMER" for 3), or "" for kinds without one.
std::string TimerScriptName(uint8_t kind);
