// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct MeasuredPoint;

namespace analysis {

// One point as the analysis takes it: the frequency in hertz and the instrument's two
// readings exactly as they arrived (name, value text, unit). The sweep view, a file reader
// and the command line all fill it, so that every front end derives the same numbers.
struct PointReading {
    double frequencyHz = 0.0;
    QString primaryName;
    QString primaryValue;
    QString primaryUnit;
    QString secondaryName;
    QString secondaryValue;
    QString secondaryUnit;
};

// The reading of a measured point; the frequency is NaN when the point has none.
PointReading pointReading(const MeasuredPoint& point);

} // namespace analysis
