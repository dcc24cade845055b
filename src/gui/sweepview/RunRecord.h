// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/MeasuredPoint.h"

#include <QObject>

#include <vector>

class Timing;

// The current or last run of the Results window: its outline, every point measured so far
// and when each arrived. The sweep view's table and chart both read it, so a view can be
// opened at any time and rebuild itself from here.
class RunRecord : public QObject {
    Q_OBJECT
public:
    explicit RunRecord(Timing& timing, QObject* parent = nullptr);

    // A new run: forgets the last one. The record holds sweeps: a single measurement
    // leaves a recorded sweep in place (its point is not recorded).
    void begin(const RunOutline& outline);
    void add(const MeasuredPoint& point);
    // The run is over, complete or not; the points measured stay.
    void end();
    // How a run that is over ended short of its plan: stopped by the operator, or failed.
    void markStopped();
    void markFailed();
    bool stopped() const { return m_stopped; }
    bool failed() const { return m_failed; }

    const RunOutline& outline() const { return m_outline; }
    const std::vector<MeasuredPoint>& points() const { return m_points; }
    bool running() const { return m_running; }
    // Clock readings (Timing::now) at the begin and at each point, for the time left.
    double beganAt() const { return m_beganAt; }
    const std::vector<double>& pointTimes() const { return m_pointTimes; }

signals:
    // Just before a new run replaces the points held.
    void aboutToBegin();
    void begun();
    void pointAdded(int row);
    void ended();

private:
    Timing& m_timing;
    RunOutline m_outline;
    std::vector<MeasuredPoint> m_points;
    std::vector<double> m_pointTimes;
    double m_beganAt = 0.0;
    bool m_running = false;
    bool m_stopped = false;
    bool m_failed = false;
    // A single measurement passing by a recorded sweep.
    bool m_passing = false;
};
