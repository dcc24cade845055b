// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/FrmMeasure.h"

#include "instrument/Instrument.h"
#include "link/Module1.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"
#include "run/MeasurementRun.h"
#include "settings/EntryJudgement.h"
#include "sweepview/SweepView.h"
#include "widgets/HandlerGuard.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FrmMeasure::FrmMeasure(const ResultsServices& services)
    : QWidget(nullptr), m_services(services),
      m_coordinator([this](Press press) { carryOut(press); }, this),
      m_logging(services.variant, services.dialogs, services.timing, services.log, *this),
      m_record(services.timing) {
    setObjectName(QStringLiteral("frmMeasure"));
    setWindowTitle(QStringLiteral("Results"));
    buildControls();
    layOutControls();
    connectHandlers();
}

FrmMeasure::~FrmMeasure() = default;

void FrmMeasure::Form_Load() {
    m_logging.reset();
    m_stop.clear();
    m_stopLog->setEnabled(false);
    showTestFrequency();
    if (m_bin) {
        m_bin->hide();
        m_binLabel->hide();
    }
}

void FrmMeasure::showRunningButtons() {
    for (QPushButton* b : {m_cmdLog, m_stopLog, m_config, m_lockout, m_start, m_cmdExit})
        b->setEnabled(false);
    m_stopbutton->setEnabled(true);
    m_runButtonsShown = true;
}

void FrmMeasure::showIdleButtons() {
    m_cmdLog->setEnabled(!bLog());
    m_stopLog->setEnabled(bLog());
    for (QPushButton* b : {m_config, m_lockout, m_start, m_cmdExit})
        b->setEnabled(true);
    m_stopbutton->setEnabled(false);
    m_runButtonsShown = false;
}

void FrmMeasure::stopbutton_Click() {
    // Only the flag and the buttons: the run notices the flag at the top of its next point.
    m_stop.request();
    showIdleButtons();
}

void FrmMeasure::cmdExit_Click() {
    if (m_coordinator.deferWhileBusy(Press::Leave))
        return;
    leave();
}

void FrmMeasure::closeEvent(QCloseEvent* event) {
    if (m_coordinator.busy()) {
        // Discarding the window now would let the running handler write into a deleted
        // window; it leaves once that handler has ended, and a run is asked to stop.
        event->ignore();
        if (m_coordinator.runActive())
            stopbutton_Click();
        m_coordinator.deferWhileBusy(Press::Leave);
        return;
    }
    event->accept();
    leave();
}

void FrmMeasure::noteProgramExiting() {
    m_coordinator.stopCarryingOut();
    closeSweepView();
}

void FrmMeasure::cmdPlot_Click() {
    // Viewing never talks to the instrument, so the view opens during a run too.
    if (!m_sweepView)
        m_sweepView = new SweepView(m_record, m_services.dialogs, this);
    nameInstrumentInView();
    m_sweepView->show();
    m_sweepView->raise();
    m_sweepView->activateWindow();
}

void FrmMeasure::nameInstrumentInView() {
    if (!m_sweepView)
        return;
    const InstrumentIdentity& identity = m_services.module1.Identity;
    m_sweepView->setInstrument(
        QStringList{identity.Model.trimmed(), identity.SerialNumber.trimmed()}.join(
            QLatin1Char(' ')));
}

void FrmMeasure::closeSweepView() {
    if (m_sweepView)
        m_sweepView->close();
}

void FrmMeasure::leave() {
    // A second unload request while this one runs has no further effect.
    if (m_leaving)
        return;
    m_leaving = true;
    m_coordinator.dropWaitingPresses();
    closeSweepView();
    emit left();
}

void FrmMeasure::carryOut(Press press) {
    switch (press) {
    case Press::Start:
        Start_Click();
        break;
    case Press::Config:
        Config_Click();
        break;
    case Press::Lockout:
        Lockout_Click();
        break;
    case Press::Leave:
        leave();
        break;
    }
}

void FrmMeasure::Start_Click() {
    // No run inside another: a press while a stopped run finishes its point waits for it.
    if (m_coordinator.deferWhileBusy(Press::Start))
        return;
    m_coordinator.beginBusy();
    m_coordinator.setRunActive(true);
    emit runningChanged(true);
    runHandler(m_services.dialogs, QStringLiteral("frmMeasure -> Start_Click"),
               [this] { runMeasurement(); });
    // However the run ended (complete, stopped, failed, or the program ending), its view
    // keeps the points measured.
    if (m_record.running())
        m_record.end();
    m_coordinator.setRunActive(false);
    emit runningChanged(false);
    m_coordinator.endBusy();
}

void FrmMeasure::runMeasurement() {
    m_stop.clear();
    showRunningButtons();
    // Read once, here: the configuration window may be closed while the run goes on.
    const RunSettings settings = m_services.runSettings();
    MeasurementRun run(m_services.instrument, m_services.link, m_services.timing,
                       m_services.variant.measure, *this, m_stop, m_services.module1.TestFrequency);
    const Module1& program = m_services.module1;
    run.setSettingRunContext({&m_services.variant.config, program.UploadedTest,
                              biasLimitFor(m_services.variant.config, program.Identity)});
    run.execute(settings);
}

void FrmMeasure::Config_Click() {
    if (m_coordinator.deferWhileBusy(Press::Config))
        return;
    m_coordinator.beginBusy();
    runHandler(m_services.dialogs, QStringLiteral("frmMeasure -> Config_Click"),
               [this] { identifyAndConfigure(); });
    m_coordinator.endBusy();
}

void FrmMeasure::identifyAndConfigure() {
    m_services.instrument.identify(m_services.link, m_services.module1.Identity);
    nameInstrumentInView();
    emit configurationWanted();
    m_logging.appendLine(QStringLiteral("Configuration Changed"));
}

void FrmMeasure::Lockout_Click() {
    if (m_coordinator.deferWhileBusy(Press::Lockout))
        return;
    runHandler(m_services.dialogs, QStringLiteral("frmMeasure -> Lockout_Click"),
               [this] { toggleLock(); });
}

void FrmMeasure::toggleLock() {
    // The lock state belongs to the program, so after a reopened window the caption and
    // the state may differ; the caption and the state change only once the command is out.
    bool& locked = m_services.module1.PanelLocked;
    m_services.instrument.sendLock(m_services.link, !locked);
    locked = !locked;
    m_lockout->setText(locked ? QStringLiteral("Locked Out") : QStringLiteral("Not Locked Out"));
}

void FrmMeasure::cmdLog_Click() {
    runHandler(m_services.dialogs, QStringLiteral("frmMeasure -> cmdLog_Click"),
               [this] { m_logging.start(); });
}

void FrmMeasure::StopLog_Click() {
    runHandler(m_services.dialogs, QStringLiteral("frmMeasure -> StopLog_Click"),
               [this] { m_logging.stop(); });
}
