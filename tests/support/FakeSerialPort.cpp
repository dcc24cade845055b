// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeSerialPort.h"

#include "support/VirtualTiming.h"
#include "values/Failure.h"

QString FakeSerialPort::lineDescription() const {
    return QStringLiteral("%1 at %2")
        .arg(m_device.isEmpty() ? QString::number(m_commPort) : m_device, m_settings);
}

void FakeSerialPort::setPortOpen(bool open) {
    if (!open) {
        if (m_open)
            m_operations << QStringLiteral("close");
        m_open = false;
        return;
    }
    if (m_open)
        throw Failure(QStringLiteral("Port already open"));
    const QString opened = m_device.isEmpty() ? QString::number(m_commPort) : m_device;
    if (m_device.isEmpty() && m_failingPorts.contains(m_commPort)) {
        m_operations << QStringLiteral("open %1 failed").arg(opened);
        throw Failure(QStringLiteral("No such port: COM%1").arg(m_commPort));
    }
    m_open = true;
    m_operations << QStringLiteral("open %1 at %2").arg(opened, m_settings);
}

void FakeSerialPort::setCommPort(int number) {
    m_commPort = number;
    m_device.clear();
    m_operations << QStringLiteral("port %1").arg(number);
}

void FakeSerialPort::setDevice(const QString& device) {
    m_device = device;
    m_operations << QStringLiteral("device %1").arg(device);
}

void FakeSerialPort::setSettings(const QString& baudText) {
    m_settings = baudText;
    m_operations << QStringLiteral("settings %1").arg(baudText);
}

void FakeSerialPort::setDTREnable(bool on) {
    m_dtr = on;
    m_operations << QStringLiteral("dtr %1").arg(on);
}

void FakeSerialPort::setRTSEnable(bool on) {
    m_rts = on;
    m_operations << QStringLiteral("rts %1").arg(on);
}

void FakeSerialPort::setInBufferCount(int count) {
    requireOpen("InBufferCount");
    m_operations << QStringLiteral("inbuffer %1").arg(count);
    if (count == 0) {
        const double now = m_timing.now();
        std::vector<Arrival> later;
        for (const Arrival& a : m_inbound)
            if (a.when > now)
                later.push_back(a);
        m_inbound = later;
    }
}

void FakeSerialPort::Output(const QByteArray& bytes) {
    requireOpen("Output");
    if (m_writesBeforeLoss == 0) {
        m_open = false;
        m_operations << QStringLiteral("line lost");
        throw Failure(QStringLiteral("The serial line was lost"));
    }
    if (m_writesBeforeLoss > 0)
        --m_writesBeforeLoss;
    m_written += bytes;
    m_writes.push_back(bytes);
    queueRepliesFor(bytes);
}

QByteArray FakeSerialPort::Input() {
    requireOpen("Input");
    const double now = m_timing.now();
    QByteArray taken;
    std::vector<Arrival> later;
    for (const Arrival& a : m_inbound) {
        if (a.when <= now)
            taken += a.bytes;
        else
            later.push_back(a);
    }
    m_inbound = later;
    return taken;
}

int FakeSerialPort::discardReceived() {
    return m_open ? static_cast<int>(Input().size()) : 0;
}

QByteArray FakeSerialPort::pendingInput() const {
    QByteArray all;
    for (const Arrival& a : m_inbound)
        all += a.bytes;
    return all;
}

void FakeSerialPort::answer(const QByteArray& command, const QByteArray& reply,
                            double delaySeconds) {
    stopAnswering(command);
    m_rules.push_back({command, reply, delaySeconds});
}

void FakeSerialPort::stopAnswering(const QByteArray& command) {
    for (auto it = m_rules.begin(); it != m_rules.end();)
        it = it->command == command ? m_rules.erase(it) : it + 1;
}

void FakeSerialPort::arrive(const QByteArray& bytes, double atSeconds) {
    m_inbound.push_back({atSeconds, bytes});
}

void FakeSerialPort::queueRepliesFor(const QByteArray& bytes) {
    m_partialLine += bytes;
    for (;;) {
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_partialLine.size() && end < 0; ++i)
            if (m_partialLine.at(i) == '\r' || m_partialLine.at(i) == '\n')
                end = i;
        if (end < 0)
            return;
        const QByteArray line = m_partialLine.left(end);
        m_partialLine.remove(0, end + 1);
        for (const Rule& rule : m_rules)
            if (rule.command == line)
                m_inbound.push_back({m_timing.now() + rule.delay, rule.reply});
    }
}

QStringList FakeSerialPort::commands() const {
    QStringList shown;
    for (QByteArray w : m_writes) {
        w.replace("\r", "\\r").replace("\n", "\\n");
        shown << QString::fromLatin1(w);
    }
    return shown;
}

void FakeSerialPort::clearRecord() {
    m_written.clear();
    m_writes.clear();
    m_operations.clear();
    m_partialLine.clear();
}

void FakeSerialPort::requireOpen(const char* what) const {
    if (!m_open)
        throw Failure(QStringLiteral("Port is not open (%1)").arg(QLatin1String(what)));
}
