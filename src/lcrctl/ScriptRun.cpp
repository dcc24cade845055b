// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptRun.h"

#include "ExitCode.h"
#include "platform/Timing.h"
#include "run/MeasurementRun.h"
#include "run/StopFlag.h"
#include "run/SweepEntries.h"
#include "run/TimeLeftEstimate.h"
#include "values/Failure.h"

#include <cstdio>
#include <unistd.h>

namespace {
// The run the command line asks for. For a voltage or bias sweep --start and --stop are
// volts, and the frequency entries, unused, hold a value their reading accepts.
RunSettings runSettingsOf(const Invocation& invocation) {
    RunSettings settings;
    settings.sweep = invocation.command == Invocation::Command::Sweep;
    settings.startText = invocation.start;
    settings.stopText = invocation.stop;
    settings.stepsText = invocation.steps;
    settings.logarithmic = invocation.logarithmic;
    settings.swept = invocation.swept;
    if (settings.swept != RunSetting::Frequency) {
        settings.settingStartText = invocation.start;
        settings.settingStopText = invocation.stop;
        settings.startText = settings.stopText = QStringLiteral("1000");
    }
    settings.stepped = invocation.stepped;
    settings.stepValuesText = invocation.stepValues;
    return settings;
}

SettingRunPlan planOf(const RunSettings& settings, const SettingRunContext& context) {
    return planSettingRun(settings,
                          readSweepEntries(settings.startText, settings.stopText,
                                           settings.stepsText, settings.logarithmic),
                          context);
}
} // namespace

ScriptRun::ScriptRun(const Invocation& invocation, StopFlag& stop)
    : m_invocation(invocation), m_stop(stop), m_writer(invocation.format),
      m_settings(runSettingsOf(invocation)) {
    const bool opened = invocation.output.isEmpty()
                            ? m_writer.openStandardOutput()
                            : m_writer.openFile(invocation.output, invocation.append);
    if (!opened)
        throw UsageError{m_writer.failure()};
    m_writer.setLayout({invocation.swept, invocation.stepped});
    m_showProgress = invocation.command == Invocation::Command::Sweep && ::isatty(STDERR_FILENO);
}

int ScriptRun::measure(const Instrument& instrument, InstrumentLink& link, Timing& timing,
                       const MeasureProfile& profile, const QString& knownFrequency) {
    m_timing = &timing;
    if (!m_writer.writeHeader())
        throw Failure(m_writer.failure());
    MeasurementRun run(instrument, link, timing, profile, *this, m_stop, knownFrequency);
    run.setSettingRunContext(m_context);
    run.execute(m_settings);
    return ExitDone;
}

void ScriptRun::setSettingRunContext(SettingRunContext context) {
    m_context = std::move(context);
    try {
        planOf(m_settings, m_context);
    } catch (const Failure& failure) {
        throw UsageError{failure.description()};
    }
}

void ScriptRun::restoreAfterSignal(InstrumentLink& link, Timing& timing) {
    if (!m_began || !isSettingRun(m_settings))
        return;
    try {
        restoreUploaded(planOf(m_settings, m_context), m_context, link, timing);
    } catch (const Failure& failure) {
        restoreFailed(failure.description());
    }
}

void ScriptRun::restoreFailed(const QString& description) {
    std::fprintf(stderr, "The restore of the uploaded settings failed: %s\n",
                 description.toLocal8Bit().constData());
    std::fflush(stderr);
}

void ScriptRun::runBegins(const RunOutline& outline) {
    m_began = true;
    m_outline = outline;
    m_beganAt = m_timing->now();
}

void ScriptRun::pointRecorded(const MeasuredPoint& point) {
    if (!m_writer.writePoint(point))
        throw Failure(m_writer.failure());
    m_pointTimes.push_back(m_timing->now());
    if (m_showProgress)
        showProgress(static_cast<int>(m_pointTimes.size())); // a stepped run's points too
}

void ScriptRun::showProgress(int reached) {
    QString line = QStringLiteral("Point %1 of %2").arg(reached).arg(m_outline.pointCount);
    if (const auto left = TimeLeftEstimate::secondsLeft(m_outline, m_beganAt, m_pointTimes))
        line += QStringLiteral(", ") + TimeLeftEstimate::describe(*left);
    // One line, written over in place; "\033[K" clears what a longer line left behind.
    std::fprintf(stderr, "\r%s\033[K", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

void ScriptRun::runEnded(RunEnd) {
    if (m_showProgress && !m_pointTimes.empty()) {
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
}
