// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/RunSettings.h"

#include <QString>

#include <cstddef>
#include <vector>

// A measured curve pair kept apart from the run that made it: a reference trace held from
// a run or read from a file. Values that are no number are NaN.
struct Trace {
    QString name;
    QString primaryName;
    QString primaryUnit;
    QString secondaryName;
    QString secondaryUnit;
    // What the trace was swept over: frequency, or volts of a voltage or bias sweep. A
    // trace is drawn only with runs swept over the same.
    RunSetting swept = RunSetting::Frequency;
    std::vector<double> frequencies; // Hz (or V), in the order measured
    std::vector<double> primary;
    std::vector<double> secondary;

    std::size_t size() const { return frequencies.size(); }
    void add(double frequency, double primaryValue, double secondaryValue) {
        frequencies.push_back(frequency);
        primary.push_back(primaryValue);
        secondary.push_back(secondaryValue);
    }
};
