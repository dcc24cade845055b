// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Dialogs;
class ResultLog;
class Timing;
struct InstrumentVariant;
struct MeasuredPoint;

// What the logging controller shows through its window.
class LoggingView {
public:
    virtual ~LoggingView() = default;
    // Logging has started into path: the log buttons change over.
    virtual void showLogButtons(bool logging) = 0;
    virtual void showLoggingTo(const QString& path) = 0;
    // Logging is off again (stopped, or ended by a failure).
    virtual void showLoggingOff() = 0;
};

// The Results window's logging: Log and Stop Logging, the records of measured points and
// the marker lines, in the program's one result log. A write that fails is reported once
// and ends logging, so nothing more goes to that file.
class LoggingController {
public:
    LoggingController(const InstrumentVariant& variant, Dialogs& dialogs, Timing& timing,
                      ResultLog& log, LoggingView& view);

    // bLog: true while logging is on.
    bool bLog() const { return m_bLog; }

    // Log: asks for the file, opens it and writes the opening line.
    void start();
    // Stop Logging: the closing line, then the file is closed.
    void stop();

    // While logging: one line as it stands.
    void appendLine(const QString& line);
    // While logging: the point's record (a sweep point's frequency first, then the six
    // texts its boxes show).
    void record(const MeasuredPoint& point);

    // The window is loaded: logging is off.
    void reset() { m_bLog = false; }

private:
    void afterWrite(bool written);
    void reportFailure(const QString& path, const QString& description);
    void loggingOff();
    QString messageTitle() const;

    const InstrumentVariant& m_variant;
    Dialogs& m_dialogs;
    Timing& m_timing;
    ResultLog& m_log;
    LoggingView& m_view;
    bool m_bLog = false;
};
