// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The instrument simulator as a child process on a pseudo-terminal, for end-to-end tests
// through the real serial layer. It logs every command it receives.
class SimulatorProcess {
public:
    // dialect "lr40" or "px80"; extra options as lcrsim takes them.
    explicit SimulatorProcess(const QString& dialect, const QStringList& options = {});
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool started() const { return !m_device.isEmpty(); }
    // A symbolic link to the line, stable across the simulator's reopening of it.
    QString device() const { return m_link; }
    // Points LCRPANEL_COM1 (or COM2) of this process at the simulator's line.
    void becomePort(int number) const;

    // The received commands, terminators shown as \r and \n.
    QStringList commands() const;
    // Waits (up to timeoutMs of real time, letting events run) until count commands arrived.
    bool waitForCommands(int count, int timeoutMs = 5000) const;
    // Waits until the simulator printed a new line path (after a reopen).
    bool waitForReopen(int timeoutMs = 5000);
    QString tempPath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
    QString m_link;
    QString m_log;
};
