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
// Writes are buffered; the file is flushed at each line end received, at each opening and
// closing of the port, after a failure, when a second has passed since the last flush,
// and when the trace ends.
class TracingSerialPort final : public SerialPort {
public:
    // trace must be open for writing.
    TracingSerialPort(std::unique_ptr<SerialPort> port, std::unique_ptr<QFile> trace);
    ~TracingSerialPort() override;
    TracingSerialPort(const TracingSerialPort&) = delete;
    TracingSerialPort& operator=(const TracingSerialPort&) = delete;

    bool PortOpen() const override;
    void setPortOpen(bool open) override;
    void setCommPort(int number) override;
    void setDevice(const QString& device) override;
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

private:
    void write(const char* mark, const QByteArray& text, bool flushNow = false);
    // Runs an operation of the wrapped port; a failure is traced, then passed on.
    template <typename Operation> auto traced(const char* name, Operation operation);

    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<QFile> m_trace;
    QElapsedTimer m_clock;
    qint64 m_lastFlushMs = 0;
};

// The port itself, or, when the environment variable LCRPANEL_TRACE names a file, the
// port wrapped in a TracingSerialPort writing there. A trace file that cannot be opened
// is reported on stderr and the port is returned as it is: the program runs without.
std::unique_ptr<SerialPort> tracedWhenAsked(std::unique_ptr<SerialPort> port);
