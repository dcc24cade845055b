// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/ConfigProfile.h"
#include "run/SweepStepping.h"
#include "settings/TestSettings.h"
#include "values/RunSettings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class InstrumentLink;
class Timing;

// What a voltage or bias sweep, or a stepped run, needs beyond the sweep entries: the
// family's upload steps and checks, the test as last uploaded since connecting (the run
// returns the instrument to it) and the bias limit of the identified model.
struct SettingRunContext {
    const ConfigProfile* profile = nullptr;
    std::optional<TestSettings> uploaded;
    float biasLimit = 0.0f;
};

// A voltage or bias sweep, or a stepped run, checked and computed before anything is sent.
struct SettingRunPlan {
    RunSetting swept = RunSetting::Frequency;
    std::vector<QString> sweptValues; // a voltage or bias sweep's points as sent
    double startValue = 0.0;
    double stopValue = 0.0;
    const UploadStep* sweptStep = nullptr; // the upload step that sends the swept setting
    RunSetting stepped = RunSetting::None;
    QStringList stepValues; // as sent: whole hertz, or volts
    const UploadStep* steppedStep = nullptr;
};

// True for a run this extension drives: a voltage or bias sweep, or any stepped sweep.
bool isSettingRun(const RunSettings& settings);

// "Frequency", "Voltage", "Bias" ("None" for no setting).
QString runSettingName(RunSetting setting);
// A setting measured in volts: the test voltage or the DC bias.
bool isVolts(RunSetting setting);
// The configuration window's control whose check and upload step a setting shares ("freq",
// "Voltage", "Bias"; empty for None).
QString settingControl(RunSetting setting);
// The volts text a point is sent as: rounded to millivolts, a plain decimal without
// trailing zeros ("0.1", "0.55", "1").
QString voltsText(double volts);
// The N + 1 points from start to stop, linear or logarithmic, rounded to millivolts.
// Throws Failure for a logarithmic sweep from or to 0.
std::vector<double> settingPoints(double start, double stop, qint32 steps, bool logarithmic);

// Checks and computes the run; throws Failure with the message the operator is shown
// when it is refused. frequencies: the designed sweep entries as read.
SettingRunPlan planSettingRun(const RunSettings& settings, const SweepSettings& frequencies,
                              const SettingRunContext& context);

// The command that sets a voltage or bias, exactly as the upload step sends it.
QString settingCommand(const UploadStep& step, const QString& value);

// Sends the uploaded value of each voltage or bias the plan changes, as the upload sends
// it, with its pause. Throws Failure.
void restoreUploaded(const SettingRunPlan& plan, const SettingRunContext& context,
                     InstrumentLink& link, Timing& timing);
