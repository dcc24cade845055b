// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/TraceReadings.h"

#include "traces/Trace.h"

#include <cmath>

namespace analysis {

namespace {
QString valueText(double value) {
    return std::isfinite(value) ? QString::number(value, 'g', 17) : QString();
}
} // namespace

std::vector<PointReading> traceReadings(const Trace& trace) {
    std::vector<PointReading> readings;
    readings.reserve(trace.size());
    for (std::size_t i = 0; i < trace.size(); ++i) {
        PointReading reading;
        reading.frequencyHz = trace.frequencies[i];
        reading.primaryName = trace.primaryName;
        reading.primaryValue = valueText(trace.primary[i]);
        reading.primaryUnit = trace.primaryUnit;
        reading.secondaryName = trace.secondaryName;
        reading.secondaryValue = valueText(trace.secondary[i]);
        reading.secondaryUnit = trace.secondaryUnit;
        readings.push_back(reading);
    }
    return readings;
}

} // namespace analysis
