// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The analysis of a sweep: the fits of the crystal and series-rlc models to 1001 points and
// the derived quantities of 1001 points (medians of processor time), and how closely the
// fits recover the elements from data formatted as the instrument formats it, noise-free
// and with 0.5 % noise on |Z|.
void benchAnalysis();
