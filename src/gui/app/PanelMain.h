// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/InstrumentVariant.h"

class ProgramRoot;

// Runs one program with the given profile; the two executables differ only in this.
int runPanel(int argc, char** argv, InstrumentVariant variant);

// From now on SIGTERM, SIGINT and SIGHUP end the program through its exit sequence (log
// file and port closed, every window closed, an interrupted run unwound) instead of
// killing it; the first such signal's number goes to endedBy, for the exit status.
void endOnTerminationSignals(ProgramRoot& root, int& endedBy);
