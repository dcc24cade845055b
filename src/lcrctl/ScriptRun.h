// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Invocation.h"
#include "RowWriter.h"
#include "run/RunObserver.h"
#include "run/SettingSweep.h"

#include <utility>

#include <vector>

class Instrument;
class InstrumentLink;
class StopFlag;
class Timing;
struct MeasureProfile;

// The measure and sweep commands: the run, its rows as they are recorded, and on a
// terminal one updating progress line on stderr. Opening the output is checked when this
// is made (throws UsageError), before anything goes out on the line.
class ScriptRun final : private RunObserver {
public:
    ScriptRun(const Invocation& invocation, StopFlag& stop);

    // Runs, writing a row per recorded point; returns the exit code. Throws what the run
    // throws.
    int measure(const Instrument& instrument, InstrumentLink& link, Timing& timing,
                const MeasureProfile& profile, const QString& knownFrequency);

    // What a voltage or bias sweep or a stepped run returns to.
    // Checked here, before the upload: a refused run throws UsageError.
    void setSettingRunContext(SettingRunContext context);
    // After a signal ended the run: returns the voltage and bias to their uploaded values
    // when the run had begun to change them; stderr says so when that fails.
    void restoreAfterSignal(InstrumentLink& link, Timing& timing);

private:
    void runBegins(const RunOutline& outline) override;
    void frequencySent(const QString&) override {}
    void statusChanged(const QString&) override {}
    void pointShown(const MeasuredPoint&) override {}
    void pointRecorded(const MeasuredPoint& point) override;
    void runEnded(RunEnd how) override;
    void restoreFailed(const QString& description) override;
    void showProgress(int reached);

    const Invocation& m_invocation;
    StopFlag& m_stop;
    RowWriter m_writer;
    Timing* m_timing = nullptr;
    bool m_showProgress = false;
    RunOutline m_outline;
    double m_beganAt = 0.0;
    std::vector<double> m_pointTimes;
    SettingRunContext m_context;
    RunSettings m_settings;
    bool m_began = false;
};
