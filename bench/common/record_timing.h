#pragma once

// Timing of record windows for the benchmarks: seconds on the steady clock,
// the median of rounds, and what an add through the memo window costs.

#include "records/record_window.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds per add through the memo window, the median of three rounds
// of twenty adds.
inline double addCost(records::RecordWindow& window) {
    constexpr int Adds = 20;
    std::vector<double> rounds;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < Adds; ++i) {
            window.setBoxText(QStringLiteral("BiaoTi"), QStringLiteral("标题"));
            window.setBoxText(QStringLiteral("Beizhu"), QStringLiteral("内容"));
            window.add();
        }
        rounds.push_back(seconds(Clock::now() - start) * 1000 / Adds);
    }
    return median(rounds);
}

} // namespace bench
