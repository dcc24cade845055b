// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimProcess.h"

#include <QElapsedTimer>

SimProcess::SimProcess(const QStringList& arguments) {
    // The simulator's messages end up in the test output, which helps when one fails.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(LCRSIM_EXECUTABLE), arguments);
    if (m_process.waitForStarted(3000))
        m_devicePath = nextAnnouncedPath(3000);
}

SimProcess::~SimProcess() {
    if (isRunning())
        terminate();
}

QString SimProcess::nextAnnouncedPath(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!m_process.canReadLine()) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0 || !m_process.waitForReadyRead(static_cast<int>(left)))
            return {};
    }
    return QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

int SimProcess::terminate() {
    m_process.terminate();
    const int code = waitForExit(3000);
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
    return code;
}

int SimProcess::waitForExit(int timeoutMs) {
    if (isRunning() && !m_process.waitForFinished(timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
