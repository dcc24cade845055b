// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/RunRecord.h"

#include "platform/Timing.h"

#include <algorithm>

RunRecord::RunRecord(Timing& timing, QObject* parent) : QObject(parent), m_timing(timing) {}

void RunRecord::begin(const RunOutline& outline) {
    m_passing = !outline.sweep && m_outline.sweep && !m_points.empty();
    if (m_passing)
        return;
    emit aboutToBegin();
    m_outline = outline;
    m_stopped = m_failed = false;
    m_points.clear();
    m_pointTimes.clear();
    // Room for the whole run at once, so that a long sweep does not reallocate as it grows.
    m_points.reserve(static_cast<std::size_t>(std::clamp(outline.pointCount, 1, 100000)));
    m_pointTimes.reserve(m_points.capacity());
    m_beganAt = m_timing.now();
    m_running = true;
    emit begun();
}

void RunRecord::add(const MeasuredPoint& point) {
    if (m_passing)
        return;
    m_points.push_back(point);
    m_pointTimes.push_back(m_timing.now());
    emit pointAdded(static_cast<int>(m_points.size()) - 1);
}

void RunRecord::end() {
    if (m_passing) {
        m_passing = false;
        return;
    }
    m_running = false;
    emit ended();
}

void RunRecord::markStopped() {
    m_stopped = true;
}

void RunRecord::markFailed() {
    m_failed = true;
}
