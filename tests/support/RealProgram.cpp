// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RealProgram.h"

#include "support/SimulatorProcess.h"

#include "app/Form1.h"
#include "config/Configure.h"
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "measure/FrmMeasure.h"
#include "platform/Timing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>

RealProgram::RealProgram(const InstrumentVariant& variant) {
    auto ownedDialogs = std::make_unique<ScriptedDialogs>();
    dialogs = ownedDialogs.get();
    // Traced, as the programs are, when LCRPANEL_TRACE names a file.
    root = std::make_unique<ProgramRoot>(variant,
                                         tracedWhenAsked(std::make_unique<QtSerialPortComponent>()),
                                         std::make_unique<SystemTiming>(), std::move(ownedDialogs));
}

void RealProgram::connect() {
    root->start();
    root->form1().Measure()->click();
}

FrmMeasure* RealProgram::connectTo(const SimulatorProcess& simulator) {
    simulator.becomePort(1);
    connect();
    return results();
}

FrmMeasure* RealProgram::results() const {
    return root->existingFrmMeasure();
}

Configure& RealProgram::chooseSweep(const QString& start, const QString& stop,
                                    const QString& steps) {
    Configure& configure = root->configure();
    configure.findChild<QComboBox*>(QStringLiteral("SingleorSweep"))
        ->setCurrentText(QStringLiteral("Sweep"));
    configure.findChild<QLineEdit*>(QStringLiteral("StartFreq"))->setText(start);
    configure.findChild<QLineEdit*>(QStringLiteral("StopFreq"))->setText(stop);
    configure.findChild<QLineEdit*>(QStringLiteral("SweepSteps"))->setText(steps);
    return configure;
}

void RealProgram::startLogging(const QString& path) {
    dialogs->queueFile(path);
    root->frmMeasure().cmdLog()->click();
}

QStringList enabledButtons(const FrmMeasure& window) {
    QStringList enabled;
    for (const QPushButton* button :
         {window.Start(), window.stopbutton(), window.cmdExit(), window.Config(), window.Lockout(),
          window.cmdLog(), window.StopLog()})
        if (button->isEnabled())
            enabled << button->objectName();
    return enabled;
}

QStringList idleButtons(bool logging) {
    return {QStringLiteral("Start"), QStringLiteral("cmdExit"), QStringLiteral("Config"),
            QStringLiteral("Lockout"),
            logging ? QStringLiteral("StopLog") : QStringLiteral("cmdLog")};
}

QStringList shownResult(const FrmMeasure& window) {
    QStringList texts;
    for (const QLineEdit* box : {window.Ppar(), window.Pvalue(), window.Punit(), window.Spar(),
                                 window.svalue(), window.Sunit()})
        texts << box->text();
    return texts;
}

bool deviceIsFree(const QString& device) {
    QSerialPort other;
    other.setPortName(device);
    if (!other.open(QIODevice::ReadWrite))
        return false;
    other.close();
    return true;
}
