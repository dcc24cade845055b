// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

// The settings options of lcrctl, each standing for a control of the configuration window.
struct SettingOption {
    const char* name;
    const char* control; // objectName of the configuration window's control
    bool lr40Only;
    const char* help;
};

// In the order the configuration window shows them.
inline constexpr std::array<SettingOption, 14> SettingOptions{{
    {"test", "TestNo", true, "Test number (LR40)."},
    {"ppar", "Ppar", false, "Primary parameter, as the window lists it (Auto, Cs, Ls, ...)."},
    {"spar", "Spar", false, "Secondary parameter (None, DF, Q, ...); not with primary Auto."},
    {"freq", "freq", false, "Test frequency in Hz (k and M allowed)."},
    {"voltage", "Voltage", false, "Test voltage in V."},
    {"bias", "Bias", false, "Bias: LR40 Off, ACCpl or volts; PX80 EXT, INT or Off."},
    {"range", "Range", false, "Range: Auto, Hold or a range number."},
    {"accuracy", "Accuracy", false, "Accuracy, as the window lists it."},
    {"delay", "Delay", false, "Delay."},
    {"average", "num_avg", false, "Number to average."},
    {"median", "listMedian", false, "Median: OFF or ON (LR40: a system setting)."},
    {"cable", "ListCable", true, "Cable compensation 1, 2 or 0 (LR40 system setting)."},
    {"leveling", "ListLevel", true, "Leveling OFF or ON (LR40 system setting)."},
    {"source-resistance", "ListSRC", true,
     "Source resistance 5, 25, 50 or 100 (LR40 system setting)."},
}};

// "--freq" for "freq"; the sweep entries by the sweep's options. The name itself when none.
inline QString optionForControl(const QString& control) {
    for (const SettingOption& option : SettingOptions)
        if (control == QLatin1String(option.control))
            return QStringLiteral("--") + QLatin1String(option.name);
    if (control == QLatin1String("StartFreq"))
        return QStringLiteral("--start");
    if (control == QLatin1String("StopFreq"))
        return QStringLiteral("--stop");
    if (control == QLatin1String("SweepSteps"))
        return QStringLiteral("--steps");
    return control;
}
