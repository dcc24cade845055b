// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/SerialPort.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <vector>

class VirtualTiming;

// A serial port in memory. It records every operation and write, answers commands from
// a script after a virtual delay, and fails where a test tells it to.
class FakeSerialPort final : public SerialPort {
public:
    explicit FakeSerialPort(VirtualTiming& timing) : m_timing(timing) {}

    bool PortOpen() const override { return m_open; }
    void setPortOpen(bool open) override;
    void setCommPort(int number) override;
    void setDevice(const QString& device) override;
    QString lineDescription() const override;
    std::vector<DetectedPort> detectedPorts() const override { return m_detected; }
    void setSettings(const QString& baudText) override;
    void setDTREnable(bool on) override;
    void setRTSEnable(bool on) override;
    void setInBufferCount(int count) override;
    void Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    // Not recorded in operations(): it changes nothing a test of the sequence looks at.
    int discardReceived() override;

    // Script.
    void failOpenOf(int portNumber) { m_failingPorts.insert(portNumber); }
    void allowOpenOf(int portNumber) { m_failingPorts.remove(portNumber); }
    // The devices that detectedPorts() reports from now on.
    void detect(std::vector<DetectedPort> ports) { m_detected = std::move(ports); }
    // When a command line (text without terminator) is written, queue reply after delay.
    void answer(const QByteArray& command, const QByteArray& reply, double delaySeconds = 0.0);
    void stopAnswering(const QByteArray& command);
    // Bytes that arrive at a given virtual time, whatever was sent.
    void arrive(const QByteArray& bytes, double atSeconds);
    // The line goes away after this many more writes: that write fails and the port closes.
    void loseLineAfterWrites(int writes) { m_writesBeforeLoss = writes; }

    // Record.
    const QByteArray& written() const { return m_written; }
    std::vector<QByteArray> writes() const { return m_writes; }
    QStringList commands() const; // writes with their terminator made visible (\r, \n)
    const QStringList& operations() const { return m_operations; }
    void clearRecord();
    int commPort() const { return m_commPort; }
    QString settings() const { return m_settings; }
    bool dtr() const { return m_dtr; }
    bool rts() const { return m_rts; }
    QByteArray pendingInput() const;

private:
    void requireOpen(const char* what) const;
    void queueRepliesFor(const QByteArray& bytes);

    VirtualTiming& m_timing;
    bool m_open = false;
    int m_commPort = 1;
    QString m_device; // set by name; empty when the port number chooses
    std::vector<DetectedPort> m_detected;
    QString m_settings = QStringLiteral("9600");
    bool m_dtr = false;
    bool m_rts = false;
    QSet<int> m_failingPorts;
    QByteArray m_written;
    std::vector<QByteArray> m_writes;
    QStringList m_operations;
    int m_writesBeforeLoss = -1;

    struct Rule {
        QByteArray command;
        QByteArray reply;
        double delay;
    };
    std::vector<Rule> m_rules;
    struct Arrival {
        double when;
        QByteArray bytes;
    };
    std::vector<Arrival> m_inbound;
    QByteArray m_partialLine;
};
