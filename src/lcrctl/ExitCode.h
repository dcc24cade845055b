// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/TerminationSignals.h"

// What lcrctl's exit status means; --help lists the same.
enum ExitCode : int {
    ExitDone = 0,
    ExitUsage = 2,       // a bad command line, a refused --output, a value an entry check refused
    ExitNoPort = 3,      // the port could not be opened
    ExitSilent = 4,      // the instrument did not answer within the read limit
    ExitLineFailure = 5, // any other failure on the line or on the output
    ExitFitFailed = 6,   // fit: no circuit could be fitted to the points
    ExitUnreadable = 7   // fit: the file cannot be read
};

// A signal ends lcrctl with 128 + its number, as shells report it.
inline int exitForSignal(int signalNumber) {
    return TerminationSignals::exitStatusFor(signalNumber);
}
