// The measurement window's log buttons and its writes to the program's result log.
#include "measure/FrmMeasure.h"

#include "app/HandlerGuard.h"
#include "app/ProgramRoot.h"
#include "logging/ResultLog.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"

#include <QPushButton>

void FrmMeasure::cmdLog_Click() {
    runHandler(m_root.dialogs(), QStringLiteral("frmMeasure -> cmdLog_Click"),
               [this] { startLogging(); });
}

void FrmMeasure::StopLog_Click() {
    runHandler(m_root.dialogs(), QStringLiteral("frmMeasure -> StopLog_Click"),
               [this] { stopLogging(); });
}

void FrmMeasure::startLogging() {
    Dialogs& dialogs = m_root.dialogs();
    const std::optional<QString> chosen =
        dialogs.chooseFile(QStringLiteral("Csv files (*.csv)|*.csv| All Files (*.*)|*.*|"),
                           QStringLiteral("Select a file name"));
    if (!chosen)
        return;
    const QString& path = *chosen;

    // A file left open by a window that was left while logging ends without a closing line.
    ResultLog& log = m_root.resultLog();
    const QString earlierPath = log.path();
    if (!log.close())
        reportLogFailure(earlierPath, log.failureText());

    ResultLog::OpenMode mode = ResultLog::OpenMode::Truncate;
    if (ResultLog::canRead(path)) {
        const MessageAnswer answer =
            dialogs.message(QStringLiteral("Overwrite ") + path, MessageButtons::YesNo,
                            MessageIcon::None, m_root.variant().applicationTitle);
        mode = answer == MessageAnswer::Yes ? ResultLog::OpenMode::Truncate
                                            : ResultLog::OpenMode::Append;
    }
    if (!log.open(path, mode)) {
        // Logging stays off: the buttons and the caption keep saying so.
        dialogs.message(path + QStringLiteral("  ") + log.failureText(), MessageButtons::Ok,
                        MessageIcon::None, logMessageTitle());
        return;
    }

    m_bLog = true;
    m_stopLog->setEnabled(true);
    m_cmdLog->setEnabled(false);
    appendToLog(
        ResultLog::markLine(QStringLiteral("Start Log ,"), m_root.timing().currentDateTime()));
    if (m_bLog)
        setWindowTitle(QStringLiteral("logging to file ") + path);
}

void FrmMeasure::stopLogging() {
    ResultLog& log = m_root.resultLog();
    if (m_bLog) {
        appendToLog(
            ResultLog::markLine(QStringLiteral("Stop Log ,"), m_root.timing().currentDateTime()));
    }
    // A failed closing line has already ended logging and been reported.
    if (m_bLog) {
        const QString path = log.path();
        if (!log.close())
            reportLogFailure(path, log.failureText());
    }
    showLoggingOff();
}

void FrmMeasure::appendToLog(const QString& line) {
    afterLogWrite(m_root.resultLog().appendLine(line));
}

void FrmMeasure::appendRecordToLog(const QStringList& fields) {
    afterLogWrite(m_root.resultLog().appendRecord(fields));
}

void FrmMeasure::afterLogWrite(bool written) {
    if (written)
        return;
    // Reported once: logging stops here, so nothing more is written to this file.
    ResultLog& log = m_root.resultLog();
    const QString path = log.path();
    const QString why = log.failureText();
    log.close();
    showLoggingOff();
    reportLogFailure(path, why);
}

void FrmMeasure::reportLogFailure(const QString& path, const QString& description) {
    m_root.dialogs().message(path + QStringLiteral("  ") + description, MessageButtons::Ok,
                             MessageIcon::None, logMessageTitle());
}

void FrmMeasure::showLoggingOff() {
    m_bLog = false;
    setWindowTitle(QStringLiteral("Results"));
    // During a run the log buttons stay off; the run's end sets them from bLog.
    if (!m_runButtonsShown) {
        m_stopLog->setEnabled(false);
        m_cmdLog->setEnabled(true);
    }
}

QString FrmMeasure::logMessageTitle() const {
    const QString& title = m_root.variant().measure.logFailureTitle;
    return title.isEmpty() ? m_root.variant().applicationTitle : title;
}
