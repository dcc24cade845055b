// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/SerialPort.h"

#include <QElapsedTimer>
#include <QFile>

#include <memory>

// A serial port that writes every byte sent and received to a trace file, for support,
// and otherwise does exactly what the port it wraps does. One line per event:
//
//     <ms since the trace began> <mark> <bytes or event>
//
// Marks: ">" bytes sent, "<" bytes received, "<!" bytes received and discarded unread,
// "=" a port operation or a failure. Bytes outside printable ASCII are written as \r, \n,
// \t, \\ or \xNN, so each event stays on one line.
//
// The first line names the program, its version, the process and the date; each open
// line names the device and the baud rate. Texts of the system (failures) are escaped as
// bytes are. Each line goes to the system in one write as it happens, so the file holds
// every line up to the moment the process ends, however it ends. A write that fails
// stops the trace: the lines before it stay whole, and "trace stopped: <reason>" goes to
// stderr once.
class TracingSerialPort final : public SerialPort {
public:
    // trace must be open for writing; it is written through its handle, unbuffered.
    TracingSerialPort(std::unique_ptr<SerialPort> port, std::unique_ptr<QFile> trace);
    ~TracingSerialPort() override;
    TracingSerialPort(const TracingSerialPort&) = delete;
    TracingSerialPort& operator=(const TracingSerialPort&) = delete;

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

    // The bytes as they appear in the trace.
    static QByteArray escaped(const QByteArray& bytes);
    // Why the trace stopped, empty while it runs.
    const QString& stoppedBecause() const { return m_stoppedBecause; }

private:
    void write(const char* mark, const QByteArray& text);
    void writeLine(const QByteArray& line);
    // Runs an operation of the wrapped port; a failure is traced, then passed on.
    template <typename Operation> auto traced(const char* name, Operation operation);

    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<QFile> m_trace;
    QElapsedTimer m_clock;
    qint64 m_written = 0; // bytes in the file, all of them whole lines
    QString m_stoppedBecause;
};

// The port itself, or, when the environment variable LCRPANEL_TRACE names a file, the
// port wrapped in a TracingSerialPort writing there. A path that names something other
// than a regular file (a FIFO, a device) is refused without waiting on it; that and a file
// that cannot be opened are said in one line on stderr, and the port is returned as it is:
// the program runs without.
std::unique_ptr<SerialPort> tracedWhenAsked(std::unique_ptr<SerialPort> port);
