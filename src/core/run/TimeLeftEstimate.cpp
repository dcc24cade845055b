// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/TimeLeftEstimate.h"

#include <algorithm>
#include <cmath>

namespace TimeLeftEstimate {

std::optional<double> secondsLeft(const RunOutline& outline, double beganAt,
                                  const std::vector<double>& pointTimes) {
    const int measured = static_cast<int>(pointTimes.size());
    const int toCome = outline.pointCount - measured;
    if (measured == 0 || toCome <= 0)
        return std::nullopt;
    const double actualPace = (pointTimes.back() - beganAt) / measured;
    // A clock that did not move (or a pace below the pacing itself) says nothing better
    // than the pacing does.
    const double pace = std::max(actualPace, outline.pacingSecondsPerPoint);
    return toCome * pace;
}

QString describe(double seconds) {
    const long long whole = std::llround(std::max(seconds, 0.0));
    if (whole < 60)
        return QStringLiteral("About %1 s left").arg(whole);
    return QStringLiteral("About %1 min %2 s left").arg(whole / 60).arg(whole % 60);
}

} // namespace TimeLeftEstimate
