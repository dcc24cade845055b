// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/Instrument.h"
#include "link/InstrumentLink.h"
#include "link/Module1.h"
#include "logging/ResultLog.h"
#include "platform/DialogSilencePolicy.h"
#include "profiles/InstrumentVariant.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class SerialPort;
class Timing;
class Dialogs;
class Form1;
class FrmMeasure;
class Configure;
class QWidget;

// The program: owns the instrument profile and object, Module1, the services and the
// three windows. It alone knows every window: it creates them, hands each the narrow
// services it uses, and routes what one window announces to another. Nothing else is
// global, so a test can build as many independent programs as it likes.
class ProgramRoot : public QObject {
    Q_OBJECT
public:
    ProgramRoot(InstrumentVariant variant, std::unique_ptr<SerialPort> port,
                std::unique_ptr<Timing> timing, std::unique_ptr<Dialogs> dialogs);
    ~ProgramRoot() override;

    // Creates and shows the connection window (its load runs first).
    void start();

    const InstrumentVariant& variant() const { return m_variant; }
    const Instrument& instrument() const { return *m_instrument; }
    Module1& module1() { return m_module1; }
    InstrumentLink& link() { return m_link; }
    SerialPort& port() { return *m_port; } // MSComm1
    Timing& timing() { return *m_timing; }
    Dialogs& dialogs() { return *m_dialogs; }
    ResultLog& resultLog() { return m_resultLog; }

    Form1& form1();
    // Created (and loaded) on first touch, again after being discarded.
    FrmMeasure& frmMeasure();
    Configure& configure();
    FrmMeasure* existingFrmMeasure() const;
    Configure* existingConfigure() const;

    // A measurement run is under way: uploads are refused meanwhile.
    bool runInProgress() const { return m_runInProgress; }
    void setRunInProgress(bool running);

    // The exit sequence is under way or done.
    bool exiting() const { return m_exiting; }
    bool ended() const { return m_ended; }

    // Cancel in a not-responding message: log file and port closed, Form1 closed (its
    // unload runs the exit sequence), program over.
    void shutdownPath();

signals:
    void runInProgressChanged(bool running);
    void programEnded();

private:
    void showResults(bool bringToFront);
    void noteTestFrequency(const QString& hertz);
    void openConfiguration();
    void leaveResults();
    void beginExit();
    void closeOtherWindows();
    void noteEnded();
    // Drops a closed window; the next touch creates a new one.
    void retire(QWidget* window);

    InstrumentVariant m_variant;
    std::unique_ptr<Instrument> m_instrument;
    Module1 m_module1;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<Timing> m_timing;
    std::unique_ptr<Dialogs> m_dialogs;
    DialogSilencePolicy m_silence;
    InstrumentLink m_link;
    ResultLog m_resultLog;

    QPointer<Form1> m_form1;
    QPointer<FrmMeasure> m_frmMeasure;
    QPointer<Configure> m_configure;
    // Windows closed inside a handler, deleted once control is back in the event loop
    // (or with the program, whichever comes first).
    std::vector<QPointer<QWidget>> m_retired;

    bool m_runInProgress = false;
    bool m_exiting = false;
    bool m_ended = false;
};
