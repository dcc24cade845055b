// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>

// The serial port component over QSerialPort.
//
// Port numbers map to devices here and nowhere else: "COMn" on Windows; elsewhere the
// device named by LCRPANEL_COM1 or LCRPANEL_COM2 when set, otherwise /dev/ttyS0 or
// /dev/ttyS1. A device set by name is opened as it stands.
class QtSerialPortComponent final : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPortComponent(QObject* parent = nullptr);
    ~QtSerialPortComponent() override;

    bool PortOpen() const override;
    void setPortOpen(bool open) override;
    void setCommPort(int number) override;
    void setDevice(const QString& device) override;
    QString lineDescription() const override;
    std::vector<DetectedPort> detectedPorts() const override;
    void setSettings(const QString& baudText) override;
    void setDTREnable(bool on) override;
    void setRTSEnable(bool on) override;
    void setInBufferCount(int count) override;
    void Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int discardReceived() override;

    static QString deviceForPort(int number);

private:
    static constexpr qint64 ReadBufferBytes = qint64{64} * 1024;

    void onError(QSerialPort::SerialPortError error);
    void requireOpen(const char* operation) const;
    void takeInWhatTheSystemHolds();

    QSerialPort m_port;
    int m_commPort = 1;
    QString m_device; // set by name; empty when the port number chooses
    qint32 m_baud = 9600;
    bool m_dtr = false;
    bool m_rts = false;
    QString m_lostReason; // why the port was closed under the program's feet, if it was
};
