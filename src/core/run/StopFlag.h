// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

// A request to stop the run at the top of its next point. A stop button, a signal or a
// test sets it; the run clears it as it starts and takes it at each point.
class StopFlag {
public:
    void request() { m_requested = true; }
    void clear() { m_requested = false; }
    bool requested() const { return m_requested; }
    // True once when a stop was requested; the request is then cleared.
    bool take() { return std::exchange(m_requested, false); }

private:
    bool m_requested = false;
};
