// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One LR40 single measurement against lcrsim flooding its reply (100 MB without a line
// feed, unpaced, on a pseudo-terminal): the resident memory before, at its peak during and
// after the read, how long the read took, and how long the flood went on.
void benchFlood();
