#pragma once
// Timing for the benchmark programs, which print ratios against a baseline
// measured in the same run.

#include <algorithm>
#include <ctime>
#include <functional>

// Best processor time per call, in nanoseconds, over several batches of at
// least 20 ms each. Processor time, because the machine may be shared: time
// spent waiting for a core is not the code's. The action gets the call number.
inline double BestNanos(const std::function<void(int)>& action) {
    auto cpuNanos = [] { return static_cast<double>(std::clock()) * 1e9 / CLOCKS_PER_SEC; };
    int calls = 1;
    for (;;) {
        const double start = cpuNanos();
        for (int i = 0; i < calls; ++i)
            action(i);
        if (cpuNanos() - start >= 20e6) break;
        calls *= 2;
    }
    double best = 1e30;
    for (int batch = 0; batch < 7; ++batch) {
        const double start = cpuNanos();
        for (int i = 0; i < calls; ++i)
            action(i);
        best = std::min(best, (cpuNanos() - start) / calls);
    }
    return best;
}
