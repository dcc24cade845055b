// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

// A run against a reference, point by point.
namespace Deviation {

// The reference's value at a frequency: linear in log frequency between its two points
// around it (in any order of measuring); none outside its range, at a gap (NaN), or for a
// frequency not above 0. Along volts (a voltage or bias sweep, logFrequency false): linear
// in the volts, 0 V included.
std::optional<double> interpolate(const std::vector<double>& frequencies,
                                  const std::vector<double>& values, double frequency,
                                  bool logFrequency = true);

// The deviation of value from reference: in percent of the reference, or for a phase the
// difference itself (degrees). None where the reference is 0.
std::optional<double> of(double value, double reference, bool phase);

} // namespace Deviation
