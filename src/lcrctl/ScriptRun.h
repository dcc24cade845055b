#pragma once

#include "Invocation.h"
#include "RowWriter.h"
#include "run/RunObserver.h"

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

private:
    void runBegins(const RunOutline& outline) override;
    void frequencySent(const QString&) override {}
    void statusChanged(const QString&) override {}
    void pointShown(const MeasuredPoint&) override {}
    void pointRecorded(const MeasuredPoint& point) override;
    void runEnded(RunEnd how) override;
    void showProgress(int reached);

    const Invocation& m_invocation;
    StopFlag& m_stop;
    RowWriter m_writer;
    Timing* m_timing = nullptr;
    bool m_showProgress = false;
    RunOutline m_outline;
    double m_beganAt = 0.0;
    std::vector<double> m_pointTimes;
};
