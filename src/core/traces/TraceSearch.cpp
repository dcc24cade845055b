// SPDX-License-Identifier: GPL-3.0-or-later
#include "traces/TraceSearch.h"

#include <cmath>

namespace TraceSearch {

std::optional<std::size_t> nearest(const std::vector<double>& frequencies,
                                   const std::vector<double>& values, double frequency) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < frequencies.size() && i < values.size(); ++i) {
        if (std::isnan(values[i]))
            continue;
        if (!best ||
            std::abs(frequencies[i] - frequency) < std::abs(frequencies[*best] - frequency))
            best = i;
    }
    return best;
}

std::optional<std::size_t> extreme(const std::vector<double>& values, bool largest) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::isnan(values[i]))
            continue;
        if (!best || (largest ? values[i] > values[*best] : values[i] < values[*best]))
            best = i;
    }
    return best;
}

std::size_t neighbour(const std::vector<double>& frequencies, const std::vector<double>& values,
                      std::size_t index, int step) {
    // The nearest frequency beyond this one in the direction asked, whatever the run's order.
    std::optional<std::size_t> best;
    const double from = frequencies.at(index);
    for (std::size_t i = 0; i < frequencies.size() && i < values.size(); ++i) {
        if (std::isnan(values[i]) || (step > 0 ? frequencies[i] <= from : frequencies[i] >= from))
            continue;
        if (!best || std::abs(frequencies[i] - from) < std::abs(frequencies[*best] - from))
            best = i;
    }
    return best.value_or(index);
}

} // namespace TraceSearch
