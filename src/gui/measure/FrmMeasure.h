// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measure/LoggingController.h"
#include "measure/RunCoordinator.h"
#include "run/RunObserver.h"
#include "run/StopFlag.h"
#include "sweepview/RunRecord.h"
#include "sweepview/SweepView.h"
#include "values/RunSettings.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class Dialogs;
class Instrument;
class InstrumentLink;
class QLabel;
class QLineEdit;
class QPushButton;
class ResultLog;
class Timing;
struct InstrumentVariant;
struct Module1;

// What the Results window works with.
struct ResultsServices {
    const InstrumentVariant& variant;
    const Instrument& instrument;
    InstrumentLink& link;
    Timing& timing;
    Dialogs& dialogs;
    ResultLog& log;
    // The program's identity (filled by Config's query) and lock state.
    Module1& module1;
    // The configuration's settings, its window made first when there is none yet.
    std::function<RunSettings()> runSettings;
};

// The measurement window, captioned "Results": runs single measurements and sweeps,
// shows their results, toggles the front-panel lock and starts and stops the result log.
// It is the view; the run (MeasurementRun), one conversation at a time (RunCoordinator)
// and the log (LoggingController) are its parts. It never touches another window: it
// announces what the operator wants, and the program routes it.
class FrmMeasure : public QWidget, private RunObserver, private LoggingView {
    Q_OBJECT
public:
    explicit FrmMeasure(const ResultsServices& services);
    ~FrmMeasure() override;

    QPushButton* Start() const { return m_start; }
    QPushButton* stopbutton() const { return m_stopbutton; }
    QPushButton* cmdExit() const { return m_cmdExit; }
    QPushButton* cmdLog() const { return m_cmdLog; }
    QPushButton* StopLog() const { return m_stopLog; }
    QPushButton* Lockout() const { return m_lockout; }
    QPushButton* Config() const { return m_config; }
    // Plot: opens the sweep view of this window's current or last run.
    QPushButton* cmdPlot() const { return m_cmdPlot; }
    // The sweep view, while it is open.
    SweepView* sweepView() const { return m_sweepView.data(); }
    QLineEdit* Ppar() const { return m_ppar; }
    QLineEdit* Pvalue() const { return m_pvalue; }
    QLineEdit* Punit() const { return m_punit; }
    QLineEdit* Spar() const { return m_spar; }
    QLineEdit* svalue() const { return m_svalue; }
    QLineEdit* Sunit() const { return m_sunit; }
    // tbxstatus in LR40, Test in PX80panel.
    QLineEdit* statusBox() const { return m_status; }
    // LR40 only (the test number box, also named Test, and the hidden bin box).
    QLineEdit* testNumberBox() const { return m_testNumber; }
    QLineEdit* binBox() const { return m_bin; }
    QLabel* Picture1() const { return m_picture; }
    QLabel* lblFrequency() const { return m_frequency; }

    bool bLog() const { return m_logging.bLog(); }
    bool StopRequested() const { return m_stop.requested(); }

signals:
    // Config has read the identification: the configuration window is wanted.
    void configurationWanted();
    // The window is leaving (Exit, or closed): it is to be discarded.
    void left();
    // A run started or ended; no upload may go out meanwhile.
    void runningChanged(bool running);
    // A sweep point set the instrument's test frequency, given as sent.
    void testFrequencySet(const QString& hertz);

public slots:
    void Form_Load();
    void Start_Click();
    void stopbutton_Click();
    void cmdExit_Click();
    void Config_Click();
    void Lockout_Click();
    void cmdLog_Click();
    void StopLog_Click();
    void cmdPlot_Click();
    // The program is exiting: presses still waiting are not carried out.
    void noteProgramExiting();
    // The program's test frequency changed (set, or unknown again after a connect).
    void showTestFrequency();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    using Press = RunCoordinator::Press;

    void buildControls();
    void layOutControls();
    void connectHandlers();

    void carryOut(Press press);
    void leave();
    void identifyAndConfigure();
    void toggleLock();
    void showIdleButtons();
    void closeSweepView();
    // The instrument that the view's exported images name: Module1's last identification.
    void nameInstrumentInView();

    void showRunningButtons();
    void runMeasurement();

    // RunObserver
    void runBegins(const RunOutline& outline) override;
    void frequencySent(const QString& hertz) override;
    void statusChanged(const QString& text) override;
    void pointShown(const MeasuredPoint& point) override;
    void pointRecorded(const MeasuredPoint& point) override;
    void runEnded(RunEnd how) override;

    // LoggingView
    void showLogButtons(bool logging) override;
    void showLoggingTo(const QString& path) override;
    void showLoggingOff() override;

    ResultsServices m_services;
    RunCoordinator m_coordinator;
    StopFlag m_stop;
    LoggingController m_logging;
    RunRecord m_record;
    QPointer<SweepView> m_sweepView;

    QPushButton* m_start;
    QPushButton* m_stopbutton;
    QPushButton* m_cmdExit;
    QPushButton* m_cmdLog;
    QPushButton* m_stopLog;
    QPushButton* m_lockout;
    QPushButton* m_config;
    QPushButton* m_cmdPlot;
    QLineEdit* m_ppar;
    QLineEdit* m_pvalue;
    QLineEdit* m_punit;
    QLineEdit* m_spar;
    QLineEdit* m_svalue;
    QLineEdit* m_sunit;
    QLineEdit* m_status;
    QLineEdit* m_testNumber = nullptr;
    QLineEdit* m_bin = nullptr;
    QLabel* m_statusLabel;
    QLabel* m_testLabel = nullptr;
    QLabel* m_binLabel = nullptr;
    QLabel* m_picture;
    QLabel* m_frequency;

    // The run's button row is showing (during a run and after one was abandoned).
    bool m_runButtonsShown = false;
    bool m_leaving = false;
};
