// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/RunObserver.h"
#include "run/SettingSweep.h"
#include "values/RunSettings.h"

#include <QString>

#include <utility>

class Instrument;
class InstrumentLink;
class RunObserver;
class StopFlag;
class Timing;
struct MeasureProfile;
struct MeasuredPoint;
struct SweepSettings;

// One run: a single measurement or a sweep through the settings' frequencies, each point
// shown and recorded through the observer. Failures throw (Failure, ProgramEnding, or what
// the silence policy throws); a silence the policy lets pass ends the run quietly.
class MeasurementRun {
public:
    // knownFrequency: the frequency the program last set the instrument to (empty while
    // unknown), which a single measurement is taken at.
    MeasurementRun(const Instrument& instrument, InstrumentLink& link, Timing& timing,
                   const MeasureProfile& profile, RunObserver& observer, StopFlag& stop,
                   QString knownFrequency);

    // Clears the stop request, then runs. The settings are read into numbers first, so a
    // sweep entry that is not a number fails before anything is sent.
    void execute(const RunSettings& settings);

    // What a voltage or bias sweep or a stepped run needs; without it such a run is
    // refused as one before any upload.
    void setSettingRunContext(SettingRunContext context) { m_context = std::move(context); }

private:
    RunEnd single();
    RunEnd sweep(const SweepSettings& sweep);
    RunEnd sweepFrequencies(const SweepSettings& sweep);
    // True when a stop request was seen (the status then says so).
    bool stopSeen(RunEnd& how);
    // A voltage or bias sweep or a stepped run (SettingRun.cpp); the voltage and bias go
    // back to their uploaded values however it ends, unless the program is ending.
    RunEnd settingRun(const SweepSettings& frequencies, const SettingRunPlan& plan);
    RunEnd sweepSetting(const SettingRunPlan& plan);
    void setStepValue(const SettingRunPlan& plan, int step);
    // False when the run ended early (stop or silence).
    bool measurePoint(MeasuredPoint point);

    const Instrument& m_instrument;
    InstrumentLink& m_link;
    Timing& m_timing;
    const MeasureProfile& m_profile;
    RunObserver& m_observer;
    StopFlag& m_stop;
    QString m_knownFrequency;
    SettingRunContext m_context;
    // The step the points being taken belong to (-1: none).
    int m_stepIndex = -1;
    QString m_stepValue;
};
