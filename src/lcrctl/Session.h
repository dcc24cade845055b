// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Invocation.h"

// Runs one command against the instrument: opens the port, hands the instrument over as
// the connection window does, does the command, closes the port. Returns the exit code;
// says on stderr what went wrong.
int runSession(const Invocation& invocation);

// The ports command: the serial devices present, one line each, on stdout.
int listPorts();
