// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/MeasurementRun.h"

#include "instrument/Instrument.h"
#include "link/InstrumentLink.h"
#include "platform/Timing.h"
#include "profiles/MeasureProfile.h"
#include "run/StopFlag.h"
#include "run/SweepEntries.h"
#include "run/SweepStepping.h"
#include "values/Failure.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int FrequencyPauseMs = 100;
}

MeasurementRun::MeasurementRun(const Instrument& instrument, InstrumentLink& link, Timing& timing,
                               const MeasureProfile& profile, RunObserver& observer, StopFlag& stop,
                               QString knownFrequency)
    : m_instrument(instrument), m_link(link), m_timing(timing), m_profile(profile),
      m_observer(observer), m_stop(stop), m_knownFrequency(std::move(knownFrequency)) {}

void MeasurementRun::execute(const RunSettings& settings) {
    m_stop.clear();
    RunEnd how = RunEnd::Failed;
    try {
        // Read before anything is sent, for a single measurement too.
        const SweepSettings entries = readSweepEntries(settings.startText, settings.stopText,
                                                       settings.stepsText, settings.logarithmic);
        if (isSettingRun(settings))
            how = settingRun(entries, planSettingRun(settings, entries, m_context));
        else
            how = settings.sweep ? sweep(entries) : single();
    } catch (const Failure&) {
        m_observer.runEnded(RunEnd::Failed);
        throw;
    }
    if (how == RunEnd::Completed)
        m_observer.statusChanged(QStringLiteral("Complete"));
    m_observer.runEnded(how);
}

RunEnd MeasurementRun::sweep(const SweepSettings& sweep) {
    RunOutline outline;
    outline.sweep = true;
    outline.pointCount = std::max(0, sweepLastIndex(sweep.steps) + 1);
    outline.logarithmic = sweep.logarithmic;
    outline.startHertz = sweep.start;
    outline.stopHertz = sweep.stop;
    outline.pacingSecondsPerPoint =
        FrequencyPauseMs / 1000.0 + m_instrument.pacingSecondsPerMeasurement();
    m_observer.runBegins(outline);
    return sweepFrequencies(sweep);
}

bool MeasurementRun::stopSeen(RunEnd& how) {
    // The stop button is seen here at the latest.
    m_link.letEventsRun();
    if (!m_stop.take())
        return false;
    m_observer.statusChanged(QStringLiteral("Stopped by User"));
    how = RunEnd::Stopped;
    return true;
}

RunEnd MeasurementRun::sweepFrequencies(const SweepSettings& sweep) {
    RunEnd how = RunEnd::Completed;
    walkSweep(
        sweep, [this, &how](int) { return !stopSeen(how); },
        [this, &how](int index, qint32 hertz) {
            m_instrument.sendFrequency(m_link, hertz);
            MeasuredPoint point;
            point.index = index;
            point.sweepPoint = true;
            point.frequency = Instrument::frequencyText(hertz);
            m_knownFrequency = point.frequency;
            m_observer.frequencySent(point.frequency);
            m_timing.sleepMs(FrequencyPauseMs);
            m_observer.statusChanged(QStringLiteral("Measuring ") + QString::number(index));
            if (measurePoint(std::move(point)))
                return true;
            how = RunEnd::Silent;
            return false;
        });
    return how;
}

RunEnd MeasurementRun::single() {
    RunOutline outline;
    outline.pacingSecondsPerPoint = m_instrument.pacingSecondsPerMeasurement();
    m_observer.runBegins(outline);
    if (m_profile.singleLetsEventsRunFirst)
        m_link.letEventsRun();
    m_observer.statusChanged(QStringLiteral("Measuring"));
    MeasuredPoint point;
    point.frequency = m_knownFrequency;
    return measurePoint(std::move(point)) ? RunEnd::Completed : RunEnd::Silent;
}

bool MeasurementRun::measurePoint(MeasuredPoint point) {
    const Reply reply = m_instrument.triggerAndFetch(m_link, m_timing);
    if (reply.timedOut)
        return false;
    MeasuredPoint decoded = m_instrument.decodeResult(reply.text);
    decoded.index = point.index;
    decoded.sweepPoint = point.sweepPoint;
    decoded.frequency = std::move(point.frequency);
    decoded.sweptValue = std::move(point.sweptValue);
    decoded.stepIndex = m_stepIndex;
    decoded.stepValue = m_stepValue;
    decoded.takenAt = m_timing.currentDateTime();
    m_observer.pointShown(decoded);
    if (!decoded.complete())
        throw Failure(QStringLiteral("The instrument's reply has %1 fields where %2 are needed")
                          .arg(decoded.fieldCount)
                          .arg(decoded.fieldsNeeded));
    m_observer.pointRecorded(decoded);
    return true;
}
