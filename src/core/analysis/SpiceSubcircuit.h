// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/CircuitFit.h"

#include <QString>

namespace analysis {

// A value as SPICE reads it: six significant digits and a scale suffix, "Meg" for 1e6
// (SPICE reads "M" as milli): 15.9155k, 150p, 2.2Meg, 47.
QString spiceNumber(double value);

// The fitted model as a subcircuit between nodes 1 and 2, internal nodes n1 and n2:
// ".SUBCKT <model> 1 2", one line per element, ".ENDS"; the derived values, the RMS error
// and the number of points as "*" comment lines. Lines end with LF.
QString spiceSubcircuit(const FitResult& result);

} // namespace analysis
