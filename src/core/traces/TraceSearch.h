// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// The arithmetic of the markers: finding points on a curve. A curve is its frequencies
// and values; NaN values are not points of it.
namespace TraceSearch {

// The point whose frequency lies nearest (ties to the earlier point).
std::optional<std::size_t> nearest(const std::vector<double>& frequencies,
                                   const std::vector<double>& values, double frequency);
// The point of the largest or smallest value (the first of equals).
std::optional<std::size_t> extreme(const std::vector<double>& values, bool largest);
// The next point by frequency up (step +1) or down (-1) from index, or index at an end.
std::size_t neighbour(const std::vector<double>& frequencies, const std::vector<double>& values,
                      std::size_t index, int step);

} // namespace TraceSearch
