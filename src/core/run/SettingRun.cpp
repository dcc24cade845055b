// SPDX-License-Identifier: GPL-3.0-or-later
// The voltage and bias sweeps and the stepped runs of MeasurementRun.
#include "run/MeasurementRun.h"

#include "instrument/Instrument.h"
#include "link/InstrumentLink.h"
#include "platform/Timing.h"
#include "run/RunObserver.h"
#include "values/Failure.h"

#include <algorithm>
#include <utility>

namespace {
// The pause after a frequency is set, as after a sweep point's.
constexpr int FrequencyPauseMs = 100;
} // namespace

RunEnd MeasurementRun::settingRun(const SweepSettings& frequencies, const SettingRunPlan& plan) {
    const bool frequencySwept = plan.swept == RunSetting::Frequency;
    const int stepCount =
        plan.stepped == RunSetting::None ? 1 : static_cast<int>(plan.stepValues.size());
    const int sweptPause = plan.sweptStep ? plan.sweptStep->waitMs : FrequencyPauseMs;

    RunOutline outline;
    outline.sweep = true;
    const int points = frequencySwept ? std::max(0, sweepLastIndex(frequencies.steps) + 1)
                                      : static_cast<int>(plan.sweptValues.size());
    outline.pointCount = points * stepCount;
    outline.logarithmic = frequencies.logarithmic;
    outline.startHertz = frequencySwept ? frequencies.start : 0;
    outline.stopHertz = frequencySwept ? frequencies.stop : 0;
    outline.pacingSecondsPerPoint =
        sweptPause / 1000.0 + m_instrument.pacingSecondsPerMeasurement();
    outline.swept = plan.swept;
    outline.startValue = plan.startValue;
    outline.stopValue = plan.stopValue;
    outline.stepped = plan.stepped;
    outline.stepValues = plan.stepValues;
    m_observer.runBegins(outline);

    RunEnd how = RunEnd::Completed;
    try {
        for (int step = 0; step < stepCount && how == RunEnd::Completed; ++step) {
            if (plan.stepped != RunSetting::None) {
                // Stop between sweeps ends the whole run too.
                if (stopSeen(how))
                    break;
                setStepValue(plan, step);
            }
            how = frequencySwept ? sweepFrequencies(frequencies) : sweepSetting(plan);
        }
    } catch (const Failure& failure) {
        // The failure is what the operator is told; a restore that fails too only adds to it.
        try {
            restoreUploaded(plan, m_context, m_link, m_timing);
        } catch (const Failure& restoreFailure) {
            m_observer.restoreFailed(restoreFailure.description());
        }
        throw;
    }
    restoreUploaded(plan, m_context, m_link, m_timing);
    return how;
}

void MeasurementRun::setStepValue(const SettingRunPlan& plan, int step) {
    m_stepIndex = step;
    m_stepValue = plan.stepValues.at(step);
    if (plan.stepped == RunSetting::Frequency) {
        m_instrument.sendFrequency(m_link, m_stepValue.toInt());
        m_knownFrequency = m_stepValue;
        m_observer.frequencySent(m_stepValue);
        m_timing.sleepMs(FrequencyPauseMs);
        return;
    }
    m_link.SendCommand(settingCommand(*plan.steppedStep, m_stepValue));
    m_timing.sleepMs(plan.steppedStep->waitMs);
}

RunEnd MeasurementRun::sweepSetting(const SettingRunPlan& plan) {
    if (!plan.sweptStep)
        throw Failure(QStringLiteral("The swept setting has no upload command"));
    RunEnd how = RunEnd::Completed;
    for (int index = 0; index < static_cast<int>(plan.sweptValues.size()); ++index) {
        if (stopSeen(how))
            return how;
        const QString& value = plan.sweptValues[static_cast<size_t>(index)];
        m_link.SendCommand(settingCommand(*plan.sweptStep, value));
        m_timing.sleepMs(plan.sweptStep->waitMs);
        MeasuredPoint point;
        point.index = index;
        point.sweepPoint = true;
        // The frequency stays the one the program last set.
        point.frequency = m_knownFrequency;
        point.sweptValue = value;
        m_observer.statusChanged(QStringLiteral("Measuring ") + QString::number(index));
        if (!measurePoint(std::move(point)))
            return RunEnd::Silent;
    }
    return how;
}
