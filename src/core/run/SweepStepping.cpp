// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/SweepStepping.h"

#include "numbers/Rounding.h"
#include "values/Failure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
qint32 roundedFrequency(double value) {
    if (std::isnan(value))
        throw Failure(QStringLiteral("Invalid operation in the sweep frequency"));
    const std::optional<qint32> rounded = roundHalfEven<qint32>(value);
    if (!rounded)
        throw Failure(QStringLiteral("Overflow in the sweep frequency"));
    return *rounded;
}

void requireSteps(qint32 steps) {
    if (steps == 0)
        throw Failure(QStringLiteral("Division by zero: the step count is 0"));
}
} // namespace

qint16 sweepLastIndex(qint32 steps) {
    if (steps < std::numeric_limits<qint16>::min() || steps > std::numeric_limits<qint16>::max())
        throw Failure(
            QStringLiteral("Overflow: a sweep has at most 32767 steps, not %1").arg(steps));
    return static_cast<qint16>(steps);
}

qint32 linearPointFrequency(qint32 start, qint32 stop, qint32 steps, int index) {
    const qint64 difference = static_cast<qint64>(stop) - start;
    if (difference < std::numeric_limits<qint32>::min() ||
        difference > std::numeric_limits<qint32>::max())
        throw Failure(QStringLiteral("Overflow: stop minus start frequency"));
    requireSteps(steps);
    const double perStep = static_cast<double>(difference) / static_cast<double>(steps);
    const double offset = perStep * static_cast<double>(index);
    return roundedFrequency(offset + static_cast<double>(start));
}

qint32 logPointFrequency(qint32 previous, qint32 start, qint32 stop, qint32 steps) {
    if (start <= 0 || stop <= 0)
        throw Failure(
            QStringLiteral("Invalid operation: a logarithmic sweep needs frequencies above 0"));
    requireSteps(steps);
    const double exponent =
        (std::log(static_cast<double>(stop)) - std::log(static_cast<double>(start))) /
        static_cast<double>(steps);
    return roundedFrequency(static_cast<double>(previous) * std::exp(exponent));
}

qint32 pointFrequency(const SweepSettings& settings, int index, qint32 previous) {
    if (!settings.logarithmic)
        return linearPointFrequency(settings.start, settings.stop, settings.steps, index);
    if (index == 0)
        return settings.start;
    const qint32 frequency =
        logPointFrequency(previous, settings.start, settings.stop, settings.steps);
    // The rounding errors add up; a point that would pass the stop frequency (beyond the
    // instrument's limit when the stop is that limit) is the stop frequency instead.
    if (settings.start <= settings.stop)
        return std::min(frequency, settings.stop);
    return std::max(frequency, settings.stop);
}

SweepPlan planSweep(const SweepSettings& settings) {
    SweepPlan plan;
    try {
        walkSweep(
            settings, [](int) { return true; },
            [&](int, qint32 frequency) {
                plan.frequencies.push_back(frequency);
                return true;
            });
    } catch (const Failure& e) {
        plan.failure = e.description();
    }
    return plan;
}
