// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SimulatorProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

SimulatorProcess::SimulatorProcess(const QString& dialect, const QStringList& options) {
    m_link = m_dir.filePath(QStringLiteral("line"));
    m_log = m_dir.filePath(QStringLiteral("received.log"));
    QStringList arguments{QStringLiteral("--dialect"), dialect, QStringLiteral("--link"), m_link,
                          QStringLiteral("--log"),     m_log};
    arguments += options;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(LCRSIM_PATH), arguments);
    if (!m_process.waitForStarted(5000))
        return;
    QDeadlineTimer deadline(5000);
    while (!m_process.canReadLine() && !deadline.hasExpired())
        m_process.waitForReadyRead(100);
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

SimulatorProcess::~SimulatorProcess() {
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(1000);
}

void SimulatorProcess::becomePort(int number) const {
    qputenv(QByteArray("LCRPANEL_COM") + QByteArray::number(number), m_link.toLocal8Bit());
}

QStringList SimulatorProcess::commands() const {
    QFile file(m_log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

bool SimulatorProcess::waitForCommands(int count, int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    while (commands().size() < count) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

bool SimulatorProcess::waitForReopen(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(50);
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return true;
}
