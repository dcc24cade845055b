#include "measure/FrmMeasure.h"

#include "app/Form1.h"
#include "app/HandlerGuard.h"
#include "app/ProgramRoot.h"
#include "config/Configure.h"
#include "link/Identification.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

#include <algorithm>
#include <utility>

FrmMeasure::FrmMeasure(ProgramRoot& root) : QWidget(nullptr), m_root(root) {
    setObjectName(QStringLiteral("frmMeasure"));
    setWindowTitle(QStringLiteral("Results"));
    buildControls();
    layOutControls();
    connectHandlers();
}

FrmMeasure::~FrmMeasure() = default;

void FrmMeasure::Form_Load() {
    m_bLog = false;
    m_stopRequested = false;
    m_stopLog->setEnabled(false);
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
    m_cmdLog->setEnabled(!m_bLog);
    m_stopLog->setEnabled(m_bLog);
    for (QPushButton* b : {m_config, m_lockout, m_start, m_cmdExit})
        b->setEnabled(true);
    m_stopbutton->setEnabled(false);
    m_runButtonsShown = false;
}

void FrmMeasure::stopbutton_Click() {
    // Only the flag and the buttons: the run notices the flag at the top of its next point.
    m_stopRequested = true;
    showIdleButtons();
}

bool FrmMeasure::takeStopRequest() {
    return std::exchange(m_stopRequested, false);
}

void FrmMeasure::cmdExit_Click() {
    if (deferWhileBusy(Press::Leave))
        return;
    leave();
}

void FrmMeasure::closeEvent(QCloseEvent* event) {
    if (m_busyDepth > 0) {
        // Discarding the window now would let the running handler write into a deleted
        // window; it leaves once that handler has ended, and a run is asked to stop.
        event->ignore();
        if (m_runActive)
            stopbutton_Click();
        deferWhileBusy(Press::Leave);
        return;
    }
    event->accept();
    leave();
}

void FrmMeasure::leave() {
    // A second unload request while this one runs has no further effect.
    if (m_leaving)
        return;
    m_leaving = true;
    m_deferred.clear();
    m_root.discardFrmMeasure();
    if (!m_root.exiting())
        m_root.form1().show();
}

void FrmMeasure::Config_Click() {
    if (deferWhileBusy(Press::Config))
        return;
    beginBusy();
    runHandler(m_root.dialogs(), QStringLiteral("frmMeasure -> Config_Click"),
               [this] { configure(); });
    endBusy();
}

void FrmMeasure::configure() {
    QueryIdentity(m_root.link(), m_root.module1(), m_root.variant());
    Configure& window = m_root.configure();
    window.Unit()->setText(m_root.module1().Identity.Model);
    window.show();
    window.raise();
    if (m_bLog)
        appendToLog(QStringLiteral("Configuration Changed"));
}

void FrmMeasure::Lockout_Click() {
    if (deferWhileBusy(Press::Lockout))
        return;
    runHandler(m_root.dialogs(), QStringLiteral("frmMeasure -> Lockout_Click"),
               [this] { toggleLock(); });
}

void FrmMeasure::toggleLock() {
    // The lock state belongs to the program, so after a reopened window the caption and
    // the state may differ; the caption and the state change only once the command is out.
    Module1& module1 = m_root.module1();
    if (!module1.PanelLocked) {
        m_root.link().SendCommand(QStringLiteral("Syst:lock on"));
        m_lockout->setText(QStringLiteral("Locked Out"));
        module1.PanelLocked = true;
    } else {
        m_root.link().SendCommand(QStringLiteral("Syst:lock off"));
        m_lockout->setText(QStringLiteral("Not Locked Out"));
        module1.PanelLocked = false;
    }
}

bool FrmMeasure::deferWhileBusy(Press press) {
    if (m_busyDepth == 0)
        return false;
    if (std::find(m_deferred.begin(), m_deferred.end(), press) == m_deferred.end())
        m_deferred.push_back(press);
    return true;
}

void FrmMeasure::endBusy() {
    if (--m_busyDepth > 0 || m_deferred.empty())
        return;
    if (std::find(m_deferred.begin(), m_deferred.end(), Press::Leave) != m_deferred.end()) {
        leave();
        return;
    }
    // The other presses run from the event loop, each as if it had just been made.
    QMetaObject::invokeMethod(this, &FrmMeasure::runDeferredPresses, Qt::QueuedConnection);
}

void FrmMeasure::runDeferredPresses() {
    const std::vector<Press> presses = std::exchange(m_deferred, {});
    for (std::size_t i = 0; i < presses.size(); ++i) {
        if (m_leaving || m_root.exiting() || m_root.ended())
            return;
        if (m_busyDepth > 0) {
            // Something new started meanwhile: the rest waits for it in turn.
            m_deferred.insert(m_deferred.end(), presses.begin() + static_cast<long>(i),
                              presses.end());
            return;
        }
        switch (presses[i]) {
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
            return;
        }
    }
}
