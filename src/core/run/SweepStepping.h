// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The sweep's frequency arithmetic and its one loop, kept free of windows and ports.
// Failures throw Failure.

struct SweepSettings {
    qint32 start = 0; // Hz
    qint32 stop = 0;  // Hz
    qint32 steps = 0;
    bool logarithmic = false;
};

// The last point index of a sweep: the step count narrowed to 16 bits. Throws when it
// does not fit.
qint16 sweepLastIndex(qint32 steps);

// R((stop - start) / steps * index + start), evaluated in double precision in that order.
qint32 linearPointFrequency(qint32 start, qint32 stop, qint32 steps, int index);

// R(previous * exp((ln stop - ln start) / steps)), for every point after the first.
qint32 logPointFrequency(qint32 previous, qint32 start, qint32 stop, qint32 steps);

// The frequency of point index, given the already rounded frequency of the point before
// (the start frequency for index 0). A logarithmic point never passes the stop frequency:
// one that would is the stop frequency; every other point keeps its value.
qint32 pointFrequency(const SweepSettings& settings, int index, qint32 previous);

// The one sweep loop, run by the measurement run, the tests and the fuzzer alike. For each
// point from index 0: atTop(index) runs first (false ends the sweep there), then the
// point's frequency is computed from the one before and atPoint(index, hertz) runs (false
// ends the sweep). Returns true when every point ran. A step count or a frequency that
// cannot be computed throws at its point: after the earlier points and that point's top.
template <typename AtTop, typename AtPoint>
bool walkSweep(const SweepSettings& settings, AtTop&& atTop, AtPoint&& atPoint) {
    const int last = sweepLastIndex(settings.steps);
    qint32 frequency = settings.start;
    for (int index = 0; index <= last; ++index) {
        if (!atTop(index))
            return false;
        frequency = pointFrequency(settings, index, frequency);
        if (!atPoint(index, frequency))
            return false;
    }
    return true;
}

// Every point of a sweep as the run computes them, up to the first failure.
struct SweepPlan {
    std::vector<qint32> frequencies;
    QString failure; // empty when every point was computed
};
SweepPlan planSweep(const SweepSettings& settings);
