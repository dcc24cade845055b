// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sweep view shown while a default 11-point and a 1001-point run are added to its
// record: the cost of each point, with the chart repainted, and the resident memory each
// run adds to the open view.
void benchSweepView();
