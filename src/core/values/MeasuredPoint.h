// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/RunSettings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The fields of a result reply that the Results window shows, in the order they are
// written into their boxes (LR40 also shows the test number and keeps the bin).
enum class ResultField {
    TestNumber,
    PrimaryName,
    PrimaryValue,
    PrimaryUnit,
    Bin,
    SecondaryName,
    SecondaryValue,
    SecondaryUnit,
};
inline constexpr int ResultFieldCount = 8;

// One measured point as the run produced it. The boxes, the result log and the sweep view
// all take it from here; nothing reads a result back from a box.
struct MeasuredPoint {
    // The point's index from 0 (always 0 for a single measurement).
    int index = 0;
    bool sweepPoint = false;
    // Hertz as sent to the instrument: the point's "conf:freq " argument for a sweep point,
    // the last test frequency this program set for a single measurement; empty while
    // unknown.
    QString frequency;
    // Each field exactly as its box shows it; nothing for a field the reply did not reach
    // or that this program does not show.
    std::array<std::optional<QString>, ResultFieldCount> fields;
    // How many fields the reply had and how many the program needs: a reply that ran short
    // still fills the boxes it reaches, and then the run fails.
    int fieldCount = 0;
    int fieldsNeeded = 0;
    QDateTime takenAt;
    // A voltage or bias sweep point: the swept value in volts as sent ("0.55"); empty
    // for a frequency sweep, whose point is its frequency.
    QString sweptValue;
    // A stepped run: the step's position from 0 and its value as sent; -1 and empty
    // when no setting is stepped.
    int stepIndex = -1;
    QString stepValue;

    // Where the point lies along its sweep, as sent: the swept volts, or the frequency.
    const QString& abscissa() const { return sweptValue.isEmpty() ? frequency : sweptValue; }
    bool complete() const { return fieldCount >= fieldsNeeded; }
    bool has(ResultField field) const { return fields[static_cast<int>(field)].has_value(); }
    QString text(ResultField field) const {
        return fields[static_cast<int>(field)].value_or(QString());
    }
    void set(ResultField field, const QString& text) { fields[static_cast<int>(field)] = text; }
};

// What a run is about to do, told before its first point.
struct RunOutline {
    bool sweep = false;
    // Points the run will take if nothing stops it: steps + 1 for a sweep, 1 otherwise.
    int pointCount = 1;
    bool logarithmic = false;
    // The pacing the program itself adds to every point (pauses and settling), in
    // seconds; the instrument's own measuring time comes on top.
    double pacingSecondsPerPoint = 0.0;
    // A sweep's start and stop frequencies in hertz (0 for a single measurement): the
    // chart's frequency axis spans them from the first point.
    double startHertz = 0.0;
    double stopHertz = 0.0;
    // The swept setting (a voltage or bias sweep spans startValue to stopValue volts) and
    // the stepped one with its values as sent, one sweep per value.
    RunSetting swept = RunSetting::Frequency;
    double startValue = 0.0;
    double stopValue = 0.0;
    RunSetting stepped = RunSetting::None;
    QStringList stepValues{};
};
