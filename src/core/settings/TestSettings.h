// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/RunSettings.h"

#include <QString>

struct ConfigProfile;

// Every setting of the configuration window, held as the texts the window shows (a list's
// current text, an entry's text), so that an upload built from it sends exactly what the
// window would. The windows edit it through their controls; a script fills it from its
// options.
struct TestSettings {
    QString testNumber;       // TestNo (LR40)
    QString primary;          // Ppar
    QString secondary;        // Spar
    QString frequency;        // freq
    QString voltage;          // Voltage
    QString bias;             // Bias
    QString range;            // Range
    QString accuracy;         // Accuracy
    QString delay;            // Delay
    QString average;          // num_avg
    QString median;           // listMedian
    QString cable;            // ListCable (LR40)
    QString leveling;         // ListLevel (LR40)
    QString sourceResistance; // ListSRC (LR40)
    RunSettings run;          // SingleorSweep, StartFreq, StopFreq, SweepSteps, logsweep

    // Kept apart from the texts, never worked out from them: sFreq is set only by the
    // frequency check, bDC only when the primary list loses the focus.
    float sFreq = 0.0f;
    bool bDC = false;

    // The text held for the window's control of that objectName; null for a name that
    // holds no text setting.
    const QString* text(const QString& control) const;
    QString* text(const QString& control);
};

// The settings as the configuration window shows them when it is created.
TestSettings initialTestSettings(const ConfigProfile& profile);

// The items a list control of the window offers, position 0 first; empty for other names.
QStringList listItems(const ConfigProfile& profile, const QString& control);
