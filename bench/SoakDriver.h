// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QLineEdit;
class QWidget;

// The operator of a soak run: answers every message with OK (and the overwrite question
// with No, so that a log started again goes on at the end of the file), and gives the log
// path to the file dialog. Every message is noted and said on stderr.
class SoakDialogs final : public Dialogs {
public:
    explicit SoakDialogs(QString logPath) : m_logPath(std::move(logPath)) {}

    MessageAnswer message(const QString& text, MessageButtons buttons, MessageIcon icon,
                          const QString& title) override;
    std::optional<QString> chooseFile(const QString& filter, const QString& title) override;
    std::optional<QString> chooseSaveFile(const QString&, const QString&) override;

    int count() const { return static_cast<int>(m_messages.size()); }
    const QStringList& messages() const { return m_messages; }

private:
    QString m_logPath;
    QStringList m_messages; // "title: text"
};

// Drives a whole LR40 program as an operator does, by the objectNames of its windows and
// controls and by button clicks only, and notes every result the program shows: a result
// counts as shown when the run moves on from its "Measuring" status (the boxes are then
// written and, while logging, logged). The results shown go to a file, one line each (the
// six boxes joined with ","), so that the driver's memory does not grow with the run.
class SoakDriver : public QObject {
    Q_OBJECT
public:
    SoakDriver(SoakDialogs& dialogs, const QString& shownPath);

    // Presses Measure on the connection window until the results window opens, for up to
    // timeoutMs (a line that is away makes the press fail). False when it never opened.
    bool connectWithin(int timeoutMs);
    // Config, then the configuration entries: sweep (start, stop, steps) or single
    // measurement, then Update. False when a message came.
    bool configure(bool sweep, int start, int stop, int steps);
    // Log with the soak's log file. False when logging did not start.
    bool startLogging();
    // One press of Start, to the end of the run. False when the run reported a failure.
    bool runOnce();
    // Stop Logging.
    void stopLogging();
    // After a failed run: Stop, Stop Logging and Exit, back to the connection window.
    void leaveResults();

    int shownCount() const { return m_shownCount; }
    // Writes out the results shown so far.
    void flushShown() { m_shownFile.flush(); }
    // Results left on the screen by a run that failed before logging them.
    int shownButNotLogged() const { return m_shownButNotLogged; }
    // Called after each result shown, with the count so far.
    void onShown(std::function<void(int)> hook) { m_onShown = std::move(hook); }

private:
    QWidget* results() const;
    QString boxes() const;
    void watchStatus();
    void statusChanged(const QString& status);
    void click(QWidget* window, const char* button);
    static void pauseMs(int ms);

    SoakDialogs& m_dialogs;
    QPointer<QLineEdit> m_watchedStatus;
    bool m_inRun = false;
    QString m_status;
    QString m_boxesAtPointStart;
    QFile m_shownFile;
    int m_shownCount = 0;
    int m_shownButNotLogged = 0;
    std::function<void(int)> m_onShown;
};
