#pragma once
// Timing for the benchmark programs, which print ratios against a baseline
// measured in the same run.

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

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

// The middle and the extremes of a set of measurements.
struct Spread {
    double Median = 0;
    double Low = 0;
    double High = 0;
};

inline Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Processor nanoseconds per call of each action, in each of rounds rounds.
// Within a round the actions take turns, one batch of at least 10 ms each, so
// that a busy moment of the shared machine falls on all of them alike and the
// per-round ratios stay honest. The action gets the call number.
inline std::vector<std::vector<double>> RoundNanos(const std::vector<std::function<void(int)>>& actions,
                                                   int rounds = 11) {
    auto cpuNanos = [] { return static_cast<double>(std::clock()) * 1e9 / CLOCKS_PER_SEC; };
    std::vector<int> calls(actions.size(), 1);
    for (size_t a = 0; a < actions.size(); ++a)
        for (;;) {
            const double start = cpuNanos();
            for (int i = 0; i < calls[a]; ++i)
                actions[a](i);
            if (cpuNanos() - start >= 10e6) break;
            calls[a] *= 2;
        }
    std::vector<std::vector<double>> nanos(actions.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t a = 0; a < actions.size(); ++a) {
            const double start = cpuNanos();
            for (int i = 0; i < calls[a]; ++i)
                actions[a](i);
            nanos[a].push_back((cpuNanos() - start) / calls[a]);
        }
    return nanos;
}

// Round by round, how many times longer b took than a.
inline std::vector<double> RoundRatios(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(b[i] / a[i]);
    return ratios;
}
