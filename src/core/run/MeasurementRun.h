#pragma once

#include "run/RunObserver.h"
#include "values/RunSettings.h"

#include <QString>

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

private:
    RunEnd single();
    RunEnd sweep(const SweepSettings& sweep);
    // False when the run ended early (stop or silence).
    bool measurePoint(MeasuredPoint point);

    const Instrument& m_instrument;
    InstrumentLink& m_link;
    Timing& m_timing;
    const MeasureProfile& m_profile;
    RunObserver& m_observer;
    StopFlag& m_stop;
    QString m_knownFrequency;
};
