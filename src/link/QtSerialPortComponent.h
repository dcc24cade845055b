#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>

// The serial port component over QSerialPort.
//
// Port numbers map to devices here and nowhere else: "COMn" on Windows; elsewhere the
// device named by LCRPANEL_COM1 or LCRPANEL_COM2 when set, otherwise /dev/ttyS0 or
// /dev/ttyS1.
class QtSerialPortComponent final : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPortComponent(QObject* parent = nullptr);
    ~QtSerialPortComponent() override;

    bool PortOpen() const override;
    void setPortOpen(bool open) override;
    void setCommPort(int number) override;
    void setSettings(const QString& baudText) override;
    void setDTREnable(bool on) override;
    void setRTSEnable(bool on) override;
    void setInBufferCount(int count) override;
    void Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int discardReceived() override;

    static QString deviceForPort(int number);

private:
    void onError(QSerialPort::SerialPortError error);
    void requireOpen(const char* operation) const;
    void takeInWhatTheSystemHolds();

    QSerialPort m_port;
    int m_commPort = 1;
    qint32 m_baud = 9600;
    bool m_dtr = false;
    bool m_rts = false;
    QString m_lostReason; // why the port was closed under the program's feet, if it was
};
