// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/PointReading.h"

#include <vector>

struct Trace;

namespace analysis {

// The points of a trace read from a file, as the analysis takes them: each value as the
// number it held (a value that was no number or an overload stays without one).
std::vector<PointReading> traceReadings(const Trace& trace);

} // namespace analysis
