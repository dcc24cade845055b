// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PseudoTerminal.h"

#include <atomic>
#include <thread>

// Two pseudo-terminals joined by a relay that passes each byte no faster than a serial
// line at the given baud rate would (10 bit times a character: start, 8 data, stop).
// The panel opens one end, the simulator the other.
class PacedRelay {
public:
    explicit PacedRelay(int baud);
    ~PacedRelay();
    PacedRelay(const PacedRelay&) = delete;
    PacedRelay& operator=(const PacedRelay&) = delete;

    QString panelSide() const { return m_panel.slavePath(); }
    QString instrumentSide() const { return m_instrument.slavePath(); }
    long long charactersCarried() const { return m_carried.load(); }

private:
    void run();

    PseudoTerminal m_panel;
    PseudoTerminal m_instrument;
    double m_characterSeconds;
    std::atomic<bool> m_stop{false};
    std::atomic<long long> m_carried{0};
    std::thread m_thread;
};
