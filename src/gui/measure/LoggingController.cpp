// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/LoggingController.h"

#include "logging/ResultLog.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"
#include "values/MeasuredPoint.h"

#include <QStringList>

#include <optional>

LoggingController::LoggingController(const InstrumentVariant& variant, Dialogs& dialogs,
                                     Timing& timing, ResultLog& log, LoggingView& view)
    : m_variant(variant), m_dialogs(dialogs), m_timing(timing), m_log(log), m_view(view) {}

void LoggingController::start() {
    const std::optional<QString> chosen =
        m_dialogs.chooseFile(QStringLiteral("Csv files (*.csv)|*.csv| All Files (*.*)|*.*|"),
                             QStringLiteral("Select a file name"));
    if (!chosen)
        return;
    const QString& path = *chosen;

    // A file left open by a window that was left while logging ends without a closing line.
    const QString earlierPath = m_log.path();
    if (!m_log.close())
        reportFailure(earlierPath, m_log.failureText());

    ResultLog::OpenMode mode = ResultLog::OpenMode::Truncate;
    if (ResultLog::canRead(path)) {
        const MessageAnswer answer =
            m_dialogs.message(QStringLiteral("Overwrite ") + path, MessageButtons::YesNo,
                              MessageIcon::None, m_variant.applicationTitle);
        mode = answer == MessageAnswer::Yes ? ResultLog::OpenMode::Truncate
                                            : ResultLog::OpenMode::Append;
    }
    if (!m_log.open(path, mode)) {
        // Logging stays off: the buttons and the caption keep saying so.
        reportFailure(path, m_log.failureText());
        return;
    }

    m_bLog = true;
    m_view.showLogButtons(true);
    appendLine(ResultLog::markLine(QStringLiteral("Start Log ,"), m_timing.currentDateTime()));
    if (m_bLog)
        m_view.showLoggingTo(path);
}

void LoggingController::stop() {
    if (m_bLog)
        appendLine(ResultLog::markLine(QStringLiteral("Stop Log ,"), m_timing.currentDateTime()));
    // A failed closing line has already ended logging and been reported.
    if (m_bLog) {
        const QString path = m_log.path();
        if (!m_log.close())
            reportFailure(path, m_log.failureText());
    }
    loggingOff();
}

void LoggingController::appendLine(const QString& line) {
    if (m_bLog)
        afterWrite(m_log.appendLine(line));
}

void LoggingController::record(const MeasuredPoint& point) {
    if (!m_bLog)
        return;
    QStringList fields;
    if (point.sweepPoint)
        fields << point.frequency;
    for (const ResultField field :
         {ResultField::PrimaryName, ResultField::PrimaryValue, ResultField::PrimaryUnit,
          ResultField::SecondaryName, ResultField::SecondaryValue, ResultField::SecondaryUnit})
        fields << point.text(field);
    // A voltage or bias sweep adds the swept value, a stepped run the step value.
    if (!point.sweptValue.isEmpty())
        fields << point.sweptValue;
    if (point.stepIndex >= 0)
        fields << point.stepValue;
    afterWrite(m_log.appendRecord(fields));
}

void LoggingController::afterWrite(bool written) {
    if (written)
        return;
    // Reported once: logging stops here, so nothing more is written to this file.
    const QString path = m_log.path();
    const QString why = m_log.failureText();
    m_log.close();
    loggingOff();
    reportFailure(path, why);
}

void LoggingController::reportFailure(const QString& path, const QString& description) {
    m_dialogs.message(path + QStringLiteral("  ") + description, MessageButtons::Ok,
                      MessageIcon::None, messageTitle());
}

void LoggingController::loggingOff() {
    m_bLog = false;
    m_view.showLoggingOff();
}

QString LoggingController::messageTitle() const {
    const QString& title = m_variant.measure.logFailureTitle;
    return title.isEmpty() ? m_variant.applicationTitle : title;
}
