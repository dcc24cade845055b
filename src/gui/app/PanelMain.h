#pragma once

#include "profiles/InstrumentVariant.h"

// Runs one program with the given profile; the two executables differ only in this.
int runPanel(int argc, char** argv, InstrumentVariant variant);
