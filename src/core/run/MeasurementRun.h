#pragma once

#include "values/MeasuredPoint.h"
#include "values/RunSettings.h"

#include <QString>

#include <functional>

class Instrument;
class InstrumentLink;
class Timing;
struct MeasureProfile;

// What a run needs of its window.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void showStatus(const QString& text) = 0;
    virtual void showRunningButtons() = 0;
    // The run is over: idle buttons, Start with the focus.
    virtual void showRunComplete() = 0;
    virtual void clearStopRequest() = 0;
    // True once when a stop was requested; the request is then cleared.
    virtual bool takeStopRequest() = 0;

    // The run is about to take its first point.
    virtual void runBegins(const RunOutline& outline) = 0;
    // A sweep point's frequency has been sent to the instrument, as sent.
    virtual void frequencySent(const QString& hertz) = 0;
    // The frequency this program last set the instrument to; empty while unknown.
    virtual QString testFrequency() const = 0;
    // A point's fields go to their boxes, whether or not the reply was complete.
    virtual void showPoint(const MeasuredPoint& point) = 0;
    // A complete point, after it was shown: the log and the sweep view take it.
    virtual void recordPoint(const MeasuredPoint& point) = 0;
};

// One press of Start: reads the configuration's settings, then takes a single measurement
// or steps through the sweep, showing and recording each point. Failures throw (Failure,
// ProgramEnding); a reply time-out ends the run quietly, the reader having said so.
class MeasurementRun {
public:
    MeasurementRun(const Instrument& instrument, InstrumentLink& link, Timing& timing,
                   const MeasureProfile& profile, RunHost& host,
                   std::function<RunSettings()> settings);

    void execute();

private:
    void single();
    // False when the run ended early (stop or silence).
    bool measurePoint(MeasuredPoint point);
    void complete();

    const Instrument& m_instrument;
    InstrumentLink& m_link;
    Timing& m_timing;
    const MeasureProfile& m_profile;
    RunHost& m_host;
    std::function<RunSettings()> m_settings;
};
