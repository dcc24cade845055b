#include "sweepview/RunRecord.h"

#include "platform/Timing.h"

#include <algorithm>

RunRecord::RunRecord(Timing& timing, QObject* parent) : QObject(parent), m_timing(timing) {}

void RunRecord::begin(const RunOutline& outline) {
    m_outline = outline;
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
    m_points.push_back(point);
    m_pointTimes.push_back(m_timing.now());
    emit pointAdded(static_cast<int>(m_points.size()) - 1);
}

void RunRecord::end() {
    m_running = false;
    emit ended();
}
