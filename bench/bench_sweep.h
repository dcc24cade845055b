#pragma once

// A default 11-point linear sweep of each program against the simulator on a
// pseudo-terminal; with baud > 0 the line between them is paced at that baud rate.
void benchSweep(bool px80, int baud);
