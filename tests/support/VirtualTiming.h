// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Timing.h"

#include <functional>
#include <vector>

// A clock that moves only when the program sleeps or waits, so the 10-second limits run
// in no time. Actions scheduled at a virtual time run in the first event pump at or after
// it, as a button press would.
class VirtualTiming final : public Timing {
public:
    double now() override { return m_now; }
    void sleepMs(int ms) override;
    void letEventsRun() override;
    void waitForEvents(int boundMs) override;
    QDateTime currentDateTime() override;

    void at(double seconds, std::function<void()> action);
    void advance(double seconds) { m_now += seconds; }

    // Every blocking sleep in order, in milliseconds.
    const std::vector<int>& sleeps() const { return m_sleeps; }
    int totalSleptMs() const;
    int pumps() const { return m_pumps; }

private:
    void runDueActions();

    double m_now = 1000.0;
    std::vector<int> m_sleeps;
    int m_pumps = 0;
    struct Scheduled {
        double when;
        std::function<void()> action;
    };
    std::vector<Scheduled> m_scheduled;
};
