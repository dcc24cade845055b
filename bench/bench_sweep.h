// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A default 11-point linear sweep of each program against the simulator on a
// pseudo-terminal; with baud > 0 the line between them is paced at that baud rate. With a
// trace path the serial port writes its byte trace there; with viewOpen the Results
// window's sweep view is open during the sweep. Returns wall time over the floor.
double benchSweep(bool px80, int baud, const QString& tracePath = QString(), bool viewOpen = false);
// Three default sweeps of each program with the byte trace and three without, taken in
// turns; prints the medians.
void benchTraceCost();
// Five default sweeps of each program with the sweep view open and five without, taken in
// turns; prints the medians and their ratio.
void benchViewCost();
