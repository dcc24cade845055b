// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <chrono>

// Clock, blocking sleep and event pump behind one seam, so that every time limit can
// run on a virtual clock in the tests.
class Timing {
public:
    virtual ~Timing() = default;

    // Seconds since an arbitrary start, with fractions; only differences matter.
    virtual double now() = 0;
    // Blocks for ms milliseconds without processing any event.
    virtual void sleepMs(int ms) = 0;
    // Lets every pending event run once, without waiting.
    virtual void letEventsRun() = 0;
    // Waits inside the event dispatcher until an event (a window event, serial data)
    // arrives or boundMs pass, and runs what arrived. Never spins.
    virtual void waitForEvents(int boundMs) = 0;
    // The current local date and time, for the log file.
    virtual QDateTime currentDateTime() = 0;
};

// The real clock: a monotonic timer, the thread's sleep and the Qt event dispatcher.
class SystemTiming final : public Timing {
public:
    SystemTiming();
    double now() override;
    void sleepMs(int ms) override;
    void letEventsRun() override;
    void waitForEvents(int boundMs) override;
    QDateTime currentDateTime() override;

private:
    std::chrono::steady_clock::time_point m_start;
};
