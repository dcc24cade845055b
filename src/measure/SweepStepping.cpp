#include "measure/SweepStepping.h"

#include "measure/MeasurementFailure.h"

#include <cmath>
#include <exception>
#include <limits>

namespace {
constexpr double Int32Min = std::numeric_limits<qint32>::min();
constexpr double Int32Max = std::numeric_limits<qint32>::max();

qint32 roundedFrequency(double value) {
    if (std::isnan(value))
        throw MeasurementFailure(QStringLiteral("Invalid operation in the sweep frequency"));
    const std::optional<qint32> rounded = roundHalfEvenToInt32(value);
    if (!rounded)
        throw MeasurementFailure(QStringLiteral("Overflow in the sweep frequency"));
    return *rounded;
}

void requireSteps(qint32 steps) {
    if (steps == 0)
        throw MeasurementFailure(QStringLiteral("Division by zero: the step count is 0"));
}
} // namespace

std::optional<qint32> roundHalfEvenToInt32(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds in the current mode, which is to-nearest-even unless someone changed it.
    const double rounded = std::nearbyint(value);
    if (rounded < Int32Min || rounded > Int32Max)
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

qint16 sweepLastIndex(qint32 steps) {
    if (steps < std::numeric_limits<qint16>::min() || steps > std::numeric_limits<qint16>::max())
        throw MeasurementFailure(
            QStringLiteral("Overflow: a sweep has at most 32767 steps, not %1").arg(steps));
    return static_cast<qint16>(steps);
}

qint32 linearPointFrequency(qint32 start, qint32 stop, qint32 steps, int index) {
    const qint64 difference = static_cast<qint64>(stop) - start;
    if (difference < std::numeric_limits<qint32>::min() ||
        difference > std::numeric_limits<qint32>::max())
        throw MeasurementFailure(QStringLiteral("Overflow: stop minus start frequency"));
    requireSteps(steps);
    const double perStep = static_cast<double>(difference) / static_cast<double>(steps);
    const double offset = perStep * static_cast<double>(index);
    return roundedFrequency(offset + static_cast<double>(start));
}

qint32 logPointFrequency(qint32 previous, qint32 start, qint32 stop, qint32 steps) {
    if (start <= 0 || stop <= 0)
        throw MeasurementFailure(
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
    return logPointFrequency(previous, settings.start, settings.stop, settings.steps);
}

SweepPlan planSweep(const SweepSettings& settings) {
    SweepPlan plan;
    try {
        const int last = sweepLastIndex(settings.steps);
        qint32 frequency = settings.start;
        for (int i = 0; i <= last; ++i) {
            frequency = pointFrequency(settings, i, frequency);
            plan.frequencies.push_back(frequency);
        }
    } catch (const std::exception& e) {
        plan.failure = QString::fromLocal8Bit(e.what());
    }
    return plan;
}
