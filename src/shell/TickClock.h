#pragma once
// How many whole timer intervals have passed since the time base, rounded to
// the nearest, so that late or early timer events neither lose nor double
// count time. Unsigned 32-bit arithmetic: the millisecond counter may wrap.

#include <cstdint>

struct TickStep {
    uint32_t Count = 0;   // whole intervals elapsed, rounded
    uint32_t NewBase = 0; // the old base advanced by Count intervals
};

TickStep ElapsedTicks(uint32_t now, uint32_t base, uint32_t interval);

// The time base of the main window's tick: 0 means not yet taken.
class TickClock {
public:
    explicit TickClock(uint32_t interval) : Interval(interval) {}
    // The ticks to hand to the world for an event at now.
    uint32_t Advance(uint32_t now);
    // Takes now as the new base, so that a pause of the tick counts no ticks.
    void Restart(uint32_t now) { LastTickTime = now == 0 ? 1 : now; }
    uint32_t Base() const { return LastTickTime; }

private:
    uint32_t Interval;
    uint32_t LastTickTime = 0;
};
