// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// One lcrsim child process. The simulator announces each device path it opens on a line
// of its stdout; the destructor stops it with SIGTERM.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The path from the first stdout line; empty if the simulator did not start.
    QString devicePath() const { return m_devicePath; }
    // The next announced path (after a reopen), or empty when none comes in time.
    QString nextAnnouncedPath(int timeoutMs);

    // Sends SIGTERM and waits; returns the exit code, or -1 if it did not end normally.
    int terminate();
    // Waits for the process to end on its own; -1 on timeout or crash.
    int waitForExit(int timeoutMs);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
    QString m_devicePath;
};
