// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PointReading.h"

#include "values/MeasuredPoint.h"

#include <QLocale>

#include <limits>

namespace analysis {

PointReading pointReading(const MeasuredPoint& point) {
    PointReading reading;
    bool ok = false;
    const double hertz = QLocale::c().toDouble(point.frequency.trimmed(), &ok);
    reading.frequencyHz = ok ? hertz : std::numeric_limits<double>::quiet_NaN();
    reading.primaryName = point.text(ResultField::PrimaryName);
    reading.primaryValue = point.text(ResultField::PrimaryValue);
    reading.primaryUnit = point.text(ResultField::PrimaryUnit);
    reading.secondaryName = point.text(ResultField::SecondaryName);
    reading.secondaryValue = point.text(ResultField::SecondaryValue);
    reading.secondaryUnit = point.text(ResultField::SecondaryUnit);
    return reading;
}

} // namespace analysis
