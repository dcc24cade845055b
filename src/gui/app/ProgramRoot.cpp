// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramRoot.h"

#include "app/Form1.h"
#include "config/Configure.h"
#include "link/SerialPort.h"
#include "measure/FrmMeasure.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"
#include "widgets/HandlerGuard.h"

#include <utility>

ProgramRoot::ProgramRoot(InstrumentVariant variant, std::unique_ptr<SerialPort> port,
                         std::unique_ptr<Timing> timing, std::unique_ptr<Dialogs> dialogs)
    : m_variant(std::move(variant)), m_instrument(makeInstrument(m_variant)),
      m_port(std::move(port)), m_timing(std::move(timing)), m_dialogs(std::move(dialogs)),
      m_silence(*m_dialogs, m_variant.applicationTitle, [this] { shutdownPath(); }),
      m_link(m_variant, *m_port, *m_timing, m_silence) {}

ProgramRoot::~ProgramRoot() {
    // Top-level windows have no Qt parent; the program owns them.
    delete m_configure.data();
    delete m_frmMeasure.data();
    delete m_form1.data();
    for (const QPointer<QWidget>& w : m_retired)
        delete w.data();
}

void ProgramRoot::start() {
    Form1& window = form1();
    window.Form_Load();
    window.show();
}

Form1& ProgramRoot::form1() {
    if (!m_form1) {
        m_form1 = new Form1(
            ConnectionServices{m_variant, *m_port, m_link, *m_instrument, *m_dialogs, m_resultLog});
        connect(m_form1, &Form1::resultsWanted, this, &ProgramRoot::showResults);
        // A new connection may be to another instrument: its frequency is unknown.
        connect(m_form1, &Form1::connected, this, [this] {
            noteTestFrequency(QString());
            m_module1.UploadedTest.reset();
        });
        connect(m_form1, &Form1::exitStarted, this, &ProgramRoot::beginExit);
        connect(m_form1, &Form1::otherWindowsToClose, this, &ProgramRoot::closeOtherWindows);
        connect(m_form1, &Form1::ended, this, &ProgramRoot::noteEnded);
    }
    return *m_form1;
}

FrmMeasure& ProgramRoot::frmMeasure() {
    if (!m_frmMeasure) {
        m_frmMeasure = new FrmMeasure(
            ResultsServices{m_variant, *m_instrument, m_link, *m_timing, *m_dialogs, m_resultLog,
                            m_module1, [this] { return configure().runSettings(); }});
        connect(m_frmMeasure, &FrmMeasure::configurationWanted, this,
                &ProgramRoot::openConfiguration);
        connect(m_frmMeasure, &FrmMeasure::left, this, &ProgramRoot::leaveResults);
        connect(m_frmMeasure, &FrmMeasure::runningChanged, this, &ProgramRoot::setRunInProgress);
        connect(m_frmMeasure, &FrmMeasure::testFrequencySet, this, &ProgramRoot::noteTestFrequency);
        m_frmMeasure->Form_Load();
    }
    return *m_frmMeasure;
}

Configure& ProgramRoot::configure() {
    if (!m_configure) {
        m_configure = new Configure(
            ConfigureServices{m_variant, m_link, *m_timing, *m_dialogs, m_module1.Identity});
        Configure* window = m_configure;
        connect(window, &Configure::exitPressed, this, [this] { frmMeasure().show(); });
        connect(window, &Configure::testFrequencySent, this, &ProgramRoot::noteTestFrequency);
        connect(window, &Configure::testUploaded, this,
                [this](const TestSettings& settings) { m_module1.UploadedTest = settings; });
        connect(window, &Configure::closed, this, [this] {
            QWidget* closing = m_configure.data();
            m_configure.clear();
            retire(closing);
        });
        connect(this, &ProgramRoot::runInProgressChanged, window,
                [window](bool running) { window->setUploadsAllowed(!running); });
        window->setUploadsAllowed(!m_runInProgress);
        window->Form_Load();
    }
    return *m_configure;
}

FrmMeasure* ProgramRoot::existingFrmMeasure() const {
    return m_frmMeasure.data();
}

Configure* ProgramRoot::existingConfigure() const {
    return m_configure.data();
}

void ProgramRoot::showResults(bool bringToFront) {
    FrmMeasure& results = frmMeasure();
    results.show();
    if (bringToFront) {
        results.raise();
        results.activateWindow();
    }
}

void ProgramRoot::noteTestFrequency(const QString& hertz) {
    m_module1.TestFrequency = hertz;
    if (m_frmMeasure)
        m_frmMeasure->showTestFrequency();
}

void ProgramRoot::openConfiguration() {
    Configure& window = configure();
    window.showModel(m_module1.Identity.Model);
    window.show();
    window.raise();
}

void ProgramRoot::leaveResults() {
    QWidget* leaving = m_frmMeasure.data();
    m_frmMeasure.clear();
    retire(leaving);
    if (!m_exiting)
        form1().show();
}

void ProgramRoot::retire(QWidget* window) {
    if (!window)
        return;
    window->hide();
    m_retired.emplace_back(window);
    window->deleteLater();
}

void ProgramRoot::beginExit() {
    m_exiting = true;
    if (m_frmMeasure)
        m_frmMeasure->noteProgramExiting();
}

void ProgramRoot::closeOtherWindows() {
    if (m_configure)
        m_configure->close();
    if (m_frmMeasure)
        m_frmMeasure->close();
}

void ProgramRoot::setRunInProgress(bool running) {
    if (m_runInProgress == running)
        return;
    m_runInProgress = running;
    emit runInProgressChanged(running);
}

void ProgramRoot::noteEnded() {
    if (m_ended)
        return;
    m_ended = true;
    m_link.markProgramEnded();
    emit programEnded();
}

void ProgramRoot::shutdownPath() {
    ignoringFailure([this] { m_resultLog.close(); });
    ignoringFailure([this] { m_port->setPortOpen(false); });
    m_link.markProgramEnded();
    if (m_form1)
        m_form1->close();
    noteEnded();
}
