#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The sweep's frequency arithmetic, kept free of windows and ports. Failures throw
// MeasurementFailure.

// Nearest whole number, exact halves to the even neighbour; nothing when the value is not
// finite or does not fit a 32-bit signed integer.
std::optional<qint32> roundHalfEvenToInt32(double value);

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
// (the start frequency for index 0).
qint32 pointFrequency(const SweepSettings& settings, int index, qint32 previous);

// Every point of a sweep as the run computes them, up to the first failure.
struct SweepPlan {
    std::vector<qint32> frequencies;
    QString failure; // empty when every point was computed
};
SweepPlan planSweep(const SweepSettings& settings);
