#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class ProgramRoot;
class QLabel;
class QLineEdit;
class QPushButton;
struct DecodedReply;

// The measurement window, captioned "Results": runs single measurements and sweeps,
// shows their results, toggles the front-panel lock and starts and stops the result log.
//
// One instrument conversation at a time: while a run (or the identification query of
// Config) is under way, presses of Start, Config, Lockout and Exit and a title-bar close
// wait until it has ended, and are then carried out in the order they came. A close
// during a run also asks the run to stop. The window is never discarded while one of its
// own handlers is still running.
class FrmMeasure : public QWidget {
    Q_OBJECT
public:
    explicit FrmMeasure(ProgramRoot& root);
    ~FrmMeasure() override;

    QPushButton* Start() const { return m_start; }
    QPushButton* stopbutton() const { return m_stopbutton; }
    QPushButton* cmdExit() const { return m_cmdExit; }
    QPushButton* cmdLog() const { return m_cmdLog; }
    QPushButton* StopLog() const { return m_stopLog; }
    QPushButton* Lockout() const { return m_lockout; }
    QPushButton* Config() const { return m_config; }
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

    bool bLog() const { return m_bLog; }
    bool StopRequested() const { return m_stopRequested; }
    // A measurement run is executing inside Start_Click.
    bool runActive() const { return m_runActive; }

    // Used by the measurement run.
    void showStatus(const QString& text);
    void showRunningButtons();
    void showIdleButtons();
    void clearStopRequest() { m_stopRequested = false; }
    // True once when a stop was requested; the request is then cleared.
    bool takeStopRequest();
    // Writes the decoded texts into their boxes; throws when the reply ran short.
    void showResult(const DecodedReply& decoded);
    // While logging: one record of the six shown texts, after the frequency of a sweep point.
    void logShownResult(std::optional<qint32> frequency);

public slots:
    void Form_Load();
    void Start_Click();
    void stopbutton_Click();
    void cmdExit_Click();
    void Config_Click();
    void Lockout_Click();
    void cmdLog_Click();
    void StopLog_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Press { Start, Config, Lockout, Leave };

    void buildControls();
    void layOutControls();
    void connectHandlers();

    void leave();
    void configure();
    void toggleLock();
    void startLogging();
    void stopLogging();

    // Log writing: a failure is reported once and logging then stops.
    void appendToLog(const QString& line);
    void appendRecordToLog(const QStringList& fields);
    void afterLogWrite(bool written);
    void reportLogFailure(const QString& path, const QString& description);
    void showLoggingOff();
    QString logMessageTitle() const;

    bool deferWhileBusy(Press press);
    void beginBusy() { ++m_busyDepth; }
    void endBusy();
    void runDeferredPresses();

    ProgramRoot& m_root;

    QPushButton* m_start;
    QPushButton* m_stopbutton;
    QPushButton* m_cmdExit;
    QPushButton* m_cmdLog;
    QPushButton* m_stopLog;
    QPushButton* m_lockout;
    QPushButton* m_config;
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

    bool m_bLog = false;
    bool m_stopRequested = false;
    bool m_runActive = false;
    // The run's button row is showing (during a run and after one was abandoned).
    bool m_runButtonsShown = false;
    int m_busyDepth = 0;
    std::vector<Press> m_deferred;
    bool m_leaving = false;
};
