#pragma once

#include <QString>

// A default 11-point linear sweep of each program against the simulator on a
// pseudo-terminal; with baud > 0 the line between them is paced at that baud rate. With a
// trace path the serial port writes its byte trace there. Returns wall time over the floor.
double benchSweep(bool px80, int baud, const QString& tracePath = QString());
// Three default sweeps of each program with the byte trace and three without, taken in
// turns; prints the medians.
void benchTraceCost();
