// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// lcrctl fit: an equivalent circuit fitted to one trace of a file this system wrote.
// Prints one TAB-separated line per element, the derived values, the RMS error and the
// number of points (or, with spice, the subcircuit). Exit 0, 6 when the fit failed, 7 when
// the file cannot be read; the reasons go to stderr.
int runFit(const QString& model, int trace, bool spice, const QString& path);
