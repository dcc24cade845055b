// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/QtSerialPortComponent.h"

#include "link/OpenFailureReason.h"
#include "link/PortChoice.h"
#include "link/PortOpenError.h"
#include "values/Failure.h"

#include <QSerialPortInfo>
#include <QtGlobal>

QtSerialPortComponent::QtSerialPortComponent(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPortComponent::onError);
}

QtSerialPortComponent::~QtSerialPortComponent() {
    if (m_port.isOpen())
        m_port.close();
}

QString QtSerialPortComponent::deviceForPort(int number) {
    return numberedPortDevice(number);
}

bool QtSerialPortComponent::PortOpen() const {
    return m_port.isOpen();
}

void QtSerialPortComponent::setPortOpen(bool open) {
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        return;
    }
    if (m_port.isOpen())
        throw Failure(QStringLiteral("Port already open"));
    m_lostReason.clear();
    const QString device = m_device.isEmpty() ? deviceForPort(m_commPort) : m_device;
    m_port.setPortName(device);
    m_port.setBaudRate(m_baud);
    // A line that floods the port is taken in bounded pieces: what the program has not
    // read yet waits in the system, which holds the far end back.
    m_port.setReadBufferSize(ReadBufferBytes);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = openFailureReason(m_port.error(), device, m_port.errorString());
        m_port.clearError();
        throw PortOpenError(device, reason);
    }
    // Line signals that a pseudo-terminal cannot carry are no error.
    if (m_dtr)
        m_port.setDataTerminalReady(true);
    if (m_rts)
        m_port.setRequestToSend(true);
    m_port.clearError();
}

void QtSerialPortComponent::setCommPort(int number) {
    m_commPort = number;
    m_device.clear();
}

void QtSerialPortComponent::setDevice(const QString& device) {
    m_device = device;
}

QString QtSerialPortComponent::lineDescription() const {
    return QStringLiteral("%1 at %2")
        .arg(m_device.isEmpty() ? deviceForPort(m_commPort) : m_device)
        .arg(m_baud);
}

std::vector<DetectedPort> QtSerialPortComponent::detectedPorts() const {
    std::vector<DetectedPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        const QString device = info.portName();
#else
        const QString device = info.systemLocation();
#endif
        ports.push_back({device, info.description(), info.manufacturer()});
    }
    return ports;
}

void QtSerialPortComponent::setSettings(const QString& baudText) {
    bool ok = false;
    const int baud = baudText.section(QLatin1Char(','), 0, 0).trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        throw Failure(QStringLiteral("Invalid baud rate: %1").arg(baudText));
    m_baud = baud;
}

void QtSerialPortComponent::setDTREnable(bool on) {
    m_dtr = on;
    if (m_port.isOpen()) {
        m_port.setDataTerminalReady(on);
        m_port.clearError();
    }
}

void QtSerialPortComponent::setRTSEnable(bool on) {
    m_rts = on;
    if (m_port.isOpen()) {
        m_port.setRequestToSend(on);
        m_port.clearError();
    }
}

void QtSerialPortComponent::setInBufferCount(int count) {
    if (count != 0)
        return;
    requireOpen("InBufferCount");
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

void QtSerialPortComponent::Output(const QByteArray& bytes) {
    requireOpen("Output");
    if (m_port.write(bytes) != bytes.size())
        throw Failure(
            QStringLiteral("Write to %1 failed: %2").arg(m_port.portName(), m_port.errorString()));
    // QSerialPort writes from its buffer only when the event loop runs; the command must
    // leave now, even when a blocking pause follows.
    m_port.flush();
    // A write the system refused fails here, so that a command that went nowhere is never
    // taken as sent (a far end gone away has also closed the port, in onError).
    if (m_port.error() == QSerialPort::WriteError) {
        const QString why = m_port.errorString();
        m_port.clearError();
        throw Failure(QStringLiteral("Write to %1 failed: %2").arg(m_port.portName(), why));
    }
    requireOpen("Output");
}

QByteArray QtSerialPortComponent::Input() {
    requireOpen("Input");
    QByteArray bytes = m_port.readAll();
    takeInWhatTheSystemHolds();
    // A line found gone just now is reported after what came before it, as it would be
    // had the event loop noticed.
    if (m_port.isOpen())
        bytes += m_port.readAll();
    else if (bytes.isEmpty())
        requireOpen("Input");
    return bytes;
}

int QtSerialPortComponent::discardReceived() {
    if (!m_port.isOpen())
        return 0;
    takeInWhatTheSystemHolds();
    if (!m_port.isOpen())
        return 0; // the line went away meanwhile; the next operation says so
    return static_cast<int>(m_port.readAll().size());
}

void QtSerialPortComponent::takeInWhatTheSystemHolds() {
    // QSerialPort reads from the system only when the event loop runs, so bytes that came
    // during a blocking pause would not count as received yet.
    m_port.waitForReadyRead(0);
    // Nothing waiting is reported as a time-out, which is no fault here.
    if (m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
}

void QtSerialPortComponent::requireOpen(const char* operation) const {
    if (m_port.isOpen())
        return;
    if (!m_lostReason.isEmpty())
        throw Failure(
            QStringLiteral("The serial line was lost (%1); the port is closed").arg(m_lostReason));
    throw Failure(QStringLiteral("Port is not open (%1)").arg(QLatin1String(operation)));
}

void QtSerialPortComponent::onError(QSerialPort::SerialPortError error) {
    // When the far end goes away (adapter pulled, pseudo-terminal closed) QSerialPort keeps
    // the port open and reports read errors in a tight loop. Close at once; the next
    // operation fails with the reason.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        m_lostReason = m_port.errorString();
        if (m_port.isOpen())
            m_port.close();
    }
}
