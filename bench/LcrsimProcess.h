// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// lcrsim as a child process on its own pseudo-terminal (or on a given device): started at
// construction, ended at destruction.
class LcrsimProcess {
public:
    explicit LcrsimProcess(const QStringList& arguments);
    ~LcrsimProcess();
    LcrsimProcess(const LcrsimProcess&) = delete;
    LcrsimProcess& operator=(const LcrsimProcess&) = delete;

    // The device of its line, as it printed it first; empty when it did not start.
    QString line() const { return m_line; }

private:
    QProcess m_process;
    QString m_line;
};
