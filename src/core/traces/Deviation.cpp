// SPDX-License-Identifier: GPL-3.0-or-later
#include "traces/Deviation.h"

#include <cmath>

namespace Deviation {

std::optional<double> interpolate(const std::vector<double>& frequencies,
                                  const std::vector<double>& values, double frequency,
                                  bool logFrequency) {
    // A log axis has no place for 0 or below; volts have.
    const auto placeable = [logFrequency](double f) {
        return logFrequency ? f > 0.0 : std::isfinite(f);
    };
    if (!placeable(frequency))
        return std::nullopt;
    // The nearest point at or below and the nearest above, whatever the order measured.
    std::optional<std::size_t> below;
    std::optional<std::size_t> above;
    for (std::size_t i = 0; i < frequencies.size() && i < values.size(); ++i) {
        const double f = frequencies[i];
        if (!placeable(f))
            continue;
        if (f == frequency)
            return std::isnan(values[i]) ? std::nullopt : std::optional<double>(values[i]);
        if (f < frequency && (!below || f > frequencies[*below]))
            below = i;
        if (f > frequency && (!above || f < frequencies[*above]))
            above = i;
    }
    if (!below || !above || std::isnan(values[*below]) || std::isnan(values[*above]))
        return std::nullopt;
    const auto along = [logFrequency](double f) { return logFrequency ? std::log(f) : f; };
    const double low = along(frequencies[*below]);
    const double share = (along(frequency) - low) / (along(frequencies[*above]) - low);
    return values[*below] + share * (values[*above] - values[*below]);
}

std::optional<double> of(double value, double reference, bool phase) {
    if (phase)
        return value - reference;
    if (reference == 0.0)
        return std::nullopt;
    return (value - reference) / std::abs(reference) * 100.0;
}

} // namespace Deviation
