// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A setting a sweep can walk through or step: the designed sweep walks the frequency.
enum class RunSetting { None, Frequency, Voltage, Bias };

// What the configuration window tells a run: single measurement or sweep, and the sweep
// entries as they stand (the run reads them into numbers itself, and fails on a text that
// is not one).
struct RunSettings {
    bool sweep = false;
    QString startText;
    QString stopText;
    QString stepsText;
    bool logarithmic = false;

    // The swept setting (SweepParameter): for a voltage or bias sweep its start and stop
    // are SweepStart and SweepStop, and StartFreq and StopFreq are left alone.
    RunSetting swept = RunSetting::Frequency;
    QString settingStartText;
    QString settingStopText;
    // The stepped setting (StepParameter, None: no step) and its values (StepValues,
    // comma-separated): one sweep per value.
    RunSetting stepped = RunSetting::None;
    QString stepValuesText;
};
