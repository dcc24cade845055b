// SPDX-License-Identifier: GPL-3.0-or-later
#include "LcrsimProcess.h"

LcrsimProcess::LcrsimProcess(const QStringList& arguments) {
    m_process.start(QStringLiteral(LCRSIM_PATH), arguments);
    m_process.waitForStarted();
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    m_line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

LcrsimProcess::~LcrsimProcess() {
    m_process.terminate();
    m_process.waitForFinished(3000);
}
