#include "measure/MeasurementRun.h"

#include "app/ProgramRoot.h"
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "measure/ResultDecoding.h"
#include "measure/SweepEntries.h"
#include "measure/SweepStepping.h"
#include "platform/Timing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int PauseMs = 100;
}

void MeasurementRun::execute() {
    m_window.clearStopRequest();
    m_window.showRunningButtons();

    Configure& configure = m_root.configure();
    // Read once, here: the configuration window may be closed while the run goes on.
    const SweepSettings settings = readSweepEntries(
        configure.StartFreq()->text(), configure.StopFreq()->text(), configure.SweepSteps()->text(),
        configure.logsweep()->checkState() != Qt::Unchecked);
    const bool singleMeasurement =
        configure.SingleorSweep()->currentText() == QLatin1String("Single Measurement");

    if (singleMeasurement)
        single();
    else
        sweep(settings);
}

void MeasurementRun::single() {
    if (m_root.variant().measure.singleLetsEventsRunFirst)
        m_root.link().letEventsRun();
    m_window.showStatus(QStringLiteral("Measuring"));
    if (!triggerAndFetch())
        return;
    showReply();
    m_window.logShownResult(std::nullopt);
    complete();
}

void MeasurementRun::sweep(const SweepSettings& settings) {
    InstrumentLink& link = m_root.link();
    const int lastIndex = sweepLastIndex(settings.steps);
    qint32 frequency = settings.start;
    for (int i = 0; i <= lastIndex; ++i) {
        // The stop button is seen here at the latest.
        link.letEventsRun();
        if (m_window.takeStopRequest()) {
            m_window.showStatus(QStringLiteral("Stopped by User"));
            return;
        }
        frequency = pointFrequency(settings, i, frequency);
        link.SendCommandEndedBy(QStringLiteral("conf:freq ") + QString::number(frequency),
                                m_root.variant().measure.frequencyCommandTerminator);
        m_root.timing().sleepMs(PauseMs);
        m_window.showStatus(QStringLiteral("Measuring ") + QString::number(i));
        if (!triggerAndFetch())
            return;
        showReply();
        m_window.logShownResult(frequency);
    }
    m_window.Start()->setEnabled(true);
    complete();
}

bool MeasurementRun::triggerAndFetch() {
    InstrumentLink& link = m_root.link();
    if (m_root.variant().isLR40()) {
        link.SendCommand(QStringLiteral("MEAS:*WAIT:FETC?"));
        link.ReadReplySettled();
    } else {
        link.SendCommand(QStringLiteral("MEAS:"));
        m_root.timing().sleepMs(PauseMs);
        // The status reply only paces the instrument; neither it nor its silence matters.
        link.SendCommand(QStringLiteral("*STB?"));
        link.ReadReplySettled();
        link.SendCommand(QStringLiteral("Fetch?"));
        link.ReadReplySettled();
    }
    return !m_root.module1().ReplyTimedOut;
}

void MeasurementRun::showReply() {
    Module1& module1 = m_root.module1();
    module1.ReplyCopy = module1.ReplyText;
    m_window.showResult(m_root.variant().isLR40() ? decodeLr40Reply(module1.ReplyCopy)
                                                  : decodePx80Reply(module1.ReplyCopy));
}

void MeasurementRun::complete() {
    m_window.showStatus(QStringLiteral("Complete"));
    m_window.showIdleButtons();
    m_window.Start()->setFocus();
}
