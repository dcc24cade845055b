// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/SweepStepping.h"

#include <QString>

// Turns the configuration window's sweep entries into the run's numbers. Start and stop
// are read as the entry checks read them (a "k" or "M" suffix allowed), the step count
// as a plain number; each is held in single precision and then rounded half to even to a
// 32-bit integer. Throws Failure for a text that is not a number or does not fit.
SweepSettings readSweepEntries(const QString& startText, const QString& stopText,
                               const QString& stepsText, bool logarithmic);
