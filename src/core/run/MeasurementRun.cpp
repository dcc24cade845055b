#include "run/MeasurementRun.h"

#include "instrument/Instrument.h"
#include "link/InstrumentLink.h"
#include "run/SweepEntries.h"
#include "run/SweepStepping.h"
#include "platform/Timing.h"
#include "profiles/MeasureProfile.h"
#include "values/Failure.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int FrequencyPauseMs = 100;
}

MeasurementRun::MeasurementRun(const Instrument& instrument, InstrumentLink& link, Timing& timing,
                               const MeasureProfile& profile, RunHost& host,
                               std::function<RunSettings()> settings)
    : m_instrument(instrument), m_link(link), m_timing(timing), m_profile(profile), m_host(host),
      m_settings(std::move(settings)) {}

void MeasurementRun::execute() {
    m_host.clearStopRequest();
    m_host.showRunningButtons();

    // Read once, here: the configuration window may be closed while the run goes on.
    const RunSettings settings = m_settings();
    const SweepSettings sweep = readSweepEntries(settings.startText, settings.stopText,
                                                 settings.stepsText, settings.logarithmic);
    if (!settings.sweep) {
        single();
        return;
    }

    RunOutline outline;
    outline.sweep = true;
    outline.pointCount = std::max(0, sweepLastIndex(sweep.steps) + 1);
    outline.logarithmic = sweep.logarithmic;
    outline.startHertz = sweep.start;
    outline.stopHertz = sweep.stop;
    outline.pacingSecondsPerPoint =
        FrequencyPauseMs / 1000.0 + m_instrument.pacingSecondsPerMeasurement();
    m_host.runBegins(outline);

    const bool completed = walkSweep(
        sweep,
        [this](int) {
            // The stop button is seen here at the latest.
            m_link.letEventsRun();
            if (!m_host.takeStopRequest())
                return true;
            m_host.showStatus(QStringLiteral("Stopped by User"));
            return false;
        },
        [this](int index, qint32 hertz) {
            m_instrument.sendFrequency(m_link, hertz);
            MeasuredPoint point;
            point.index = index;
            point.sweepPoint = true;
            point.frequency = Instrument::frequencyText(hertz);
            m_host.frequencySent(point.frequency);
            m_timing.sleepMs(FrequencyPauseMs);
            m_host.showStatus(QStringLiteral("Measuring ") + QString::number(index));
            return measurePoint(std::move(point));
        });
    if (completed)
        complete();
}

void MeasurementRun::single() {
    RunOutline outline;
    outline.pacingSecondsPerPoint = m_instrument.pacingSecondsPerMeasurement();
    m_host.runBegins(outline);
    if (m_profile.singleLetsEventsRunFirst)
        m_link.letEventsRun();
    m_host.showStatus(QStringLiteral("Measuring"));
    MeasuredPoint point;
    point.frequency = m_host.testFrequency();
    if (measurePoint(std::move(point)))
        complete();
}

bool MeasurementRun::measurePoint(MeasuredPoint point) {
    const Reply reply = m_instrument.triggerAndFetch(m_link, m_timing);
    if (reply.timedOut)
        return false;
    MeasuredPoint decoded = m_instrument.decodeResult(reply.text);
    decoded.index = point.index;
    decoded.sweepPoint = point.sweepPoint;
    decoded.frequency = std::move(point.frequency);
    decoded.takenAt = m_timing.currentDateTime();
    m_host.showPoint(decoded);
    if (!decoded.complete())
        throw Failure(QStringLiteral("The instrument's reply has %1 fields where %2 are needed")
                          .arg(decoded.fieldCount)
                          .arg(decoded.fieldsNeeded));
    m_host.recordPoint(decoded);
    return true;
}

void MeasurementRun::complete() {
    m_host.showStatus(QStringLiteral("Complete"));
    m_host.showRunComplete();
}
