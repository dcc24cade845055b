#include "app/ProgramRoot.h"

#include "app/Form1.h"
#include "app/HandlerGuard.h"
#include "config/Configure.h"
#include "link/SerialPort.h"
#include "measure/FrmMeasure.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"

#include <utility>

ProgramRoot::ProgramRoot(InstrumentVariant variant, std::unique_ptr<SerialPort> port,
                         std::unique_ptr<Timing> timing, std::unique_ptr<Dialogs> dialogs)
    : m_variant(std::move(variant)), m_port(std::move(port)), m_timing(std::move(timing)),
      m_dialogs(std::move(dialogs)),
      m_link(m_variant, *m_port, *m_timing, *m_dialogs, m_module1, [this] { shutdownPath(); }) {}

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
    if (!m_form1)
        m_form1 = new Form1(*this);
    return *m_form1;
}

FrmMeasure& ProgramRoot::frmMeasure() {
    if (!m_frmMeasure) {
        m_frmMeasure = new FrmMeasure(*this);
        m_frmMeasure->Form_Load();
    }
    return *m_frmMeasure;
}

Configure& ProgramRoot::configure() {
    if (!m_configure) {
        m_configure = new Configure(*this);
        m_configure->Form_Load();
    }
    return *m_configure;
}

FrmMeasure* ProgramRoot::existingFrmMeasure() const {
    return m_frmMeasure.data();
}

Configure* ProgramRoot::existingConfigure() const {
    return m_configure.data();
}

void ProgramRoot::retire(QWidget* window) {
    if (!window)
        return;
    window->hide();
    m_retired.emplace_back(window);
    window->deleteLater();
}

void ProgramRoot::discardFrmMeasure() {
    QWidget* window = m_frmMeasure.data();
    m_frmMeasure.clear();
    retire(window);
}

void ProgramRoot::discardConfigure() {
    QWidget* window = m_configure.data();
    m_configure.clear();
    retire(window);
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
