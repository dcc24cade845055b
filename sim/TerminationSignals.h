// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UniqueFd.h"

namespace lcrsim {

// Turns SIGTERM, SIGINT and SIGHUP into a readable descriptor (the self-pipe trick), so
// the event loop's poll() wakes on them and the simulator can shut down cleanly.
// SIGPIPE is ignored so a closed stdout does not kill the process. One instance at a
// time; the handlers are restored when it goes.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    int fd() const { return m_readEnd.get(); }
    // Empties the pipe; true when a signal had arrived.
    bool consume();

private:
    UniqueFd m_readEnd;
    UniqueFd m_writeEnd;
};

} // namespace lcrsim
