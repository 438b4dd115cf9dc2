#include "shell/TickClock.h"

TickStep ElapsedTicks(uint32_t now, uint32_t base, uint32_t interval) {
    if (interval == 0) return {0, base};
    uint32_t count = (now + interval / 2 - base) / interval;
    return {count, base + count * interval};
}

uint32_t TickClock::Advance(uint32_t now) {
    if (LastTickTime == 0) LastTickTime = now;
    TickStep step = ElapsedTicks(now, LastTickTime, Interval);
    LastTickTime = step.NewBase;
    return step.Count;
}
