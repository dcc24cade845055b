// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/MeasuredPoint.h"

#include <QString>

#include <optional>
#include <vector>

// How long the rest of a run will take. The program's own pacing per point is only a floor
// (the instrument's measuring time comes on top), so once points have arrived their actual
// pace since the begin replaces it.
namespace TimeLeftEstimate {

// Seconds until the last point, as of the latest point; nothing before the first point
// and once every point has arrived.
std::optional<double> secondsLeft(const RunOutline& outline, double beganAt,
                                  const std::vector<double>& pointTimes);

// "About 4 min 10 s left", to the nearest second.
QString describe(double seconds);

} // namespace TimeLeftEstimate
