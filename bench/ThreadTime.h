// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

// Processor time of the calling thread in milliseconds: unlike the wall time, it does not
// grow when other programs take the processor.
inline double threadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The median and the largest of a set of timings.
struct Spread {
    double median;
    double worst;
};

inline Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}
