// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/CircuitFit.h"

#include <vector>

namespace analysis {

// Starting values for the fit, read off the data (points sorted by frequency, at least
// two): C and L from the reactance at the low and high ends, a series resonance at the |Z|
// minimum, a parallel one at the maximum. Where the data allow more than one reading
// (a wide sweep or a narrow one around a resonance), each is a candidate; the fit starts
// from the one whose model lies closest to the data. Every value is positive and finite.
std::vector<std::vector<double>> startCandidates(CircuitModel model,
                                                 const std::vector<ImpedancePoint>& sorted);

} // namespace analysis
