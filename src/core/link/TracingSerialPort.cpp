#include "link/TracingSerialPort.h"

#include "values/Failure.h"

#include <QDateTime>

#include <cstdio>

namespace {
constexpr qint64 FlushIntervalMs = 1000;
} // namespace

TracingSerialPort::TracingSerialPort(std::unique_ptr<SerialPort> port, std::unique_ptr<QFile> trace)
    : m_port(std::move(port)), m_trace(std::move(trace)) {
    m_clock.start();
    // The wall-clock start lets a reader line the trace up with the log file.
    m_trace->write("# serial byte trace, started " +
                   QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() +
                   "; times in ms since then; > sent, < received, <! received and "
                   "discarded unread, = port operation\n");
    m_trace->flush();
}

TracingSerialPort::~TracingSerialPort() {
    write("=", "trace ends", true);
}

QByteArray TracingSerialPort::escaped(const QByteArray& bytes) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray text;
    text.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '\r':
            text += "\\r";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\t':
            text += "\\t";
            break;
        case '\\':
            text += "\\\\";
            break;
        default:
            if (byte >= 0x20 && byte < 0x7F) {
                text += c;
            } else {
                text += "\\x";
                text += hex[byte >> 4];
                text += hex[byte & 0x0F];
            }
        }
    }
    return text;
}

void TracingSerialPort::write(const char* mark, const QByteArray& text, bool flushNow) {
    const qint64 nowNs = m_clock.nsecsElapsed();
    const qint64 nowMs = nowNs / 1000000;
    m_trace->write(QByteArray::number(static_cast<double>(nowNs) / 1e6, 'f', 3) + ' ' + mark + ' ' +
                   text + '\n');
    if (flushNow || nowMs - m_lastFlushMs >= FlushIntervalMs) {
        m_trace->flush();
        m_lastFlushMs = nowMs;
    }
}

template <typename Operation>
auto TracingSerialPort::traced(const char* name, Operation operation) {
    try {
        return operation();
    } catch (const Failure& error) {
        write("=", name + QByteArray(" failed: ") + error.description().toUtf8(), true);
        throw;
    }
}

bool TracingSerialPort::PortOpen() const {
    return m_port->PortOpen();
}

void TracingSerialPort::setPortOpen(bool open) {
    const bool wasOpen = m_port->PortOpen();
    traced(open ? "open" : "close", [&] { m_port->setPortOpen(open); });
    // Closing a closed port does nothing, and says nothing here either.
    if (open || wasOpen)
        write("=", open ? "open" : "close", true);
}

void TracingSerialPort::setCommPort(int number) {
    m_port->setCommPort(number);
    write("=", "port " + QByteArray::number(number));
}

void TracingSerialPort::setDevice(const QString& device) {
    m_port->setDevice(device);
    write("=", "device " + escaped(device.toUtf8()));
}

std::vector<DetectedPort> TracingSerialPort::detectedPorts() const {
    return m_port->detectedPorts();
}

void TracingSerialPort::setSettings(const QString& baudText) {
    traced("settings", [&] { m_port->setSettings(baudText); });
    write("=", "settings " + escaped(baudText.toUtf8()));
}

void TracingSerialPort::setDTREnable(bool on) {
    m_port->setDTREnable(on);
    write("=", on ? "DTR on" : "DTR off");
}

void TracingSerialPort::setRTSEnable(bool on) {
    m_port->setRTSEnable(on);
    write("=", on ? "RTS on" : "RTS off");
}

void TracingSerialPort::setInBufferCount(int count) {
    traced("InBufferCount", [&] { m_port->setInBufferCount(count); });
    write("=", "InBufferCount " + QByteArray::number(count));
}

void TracingSerialPort::Output(const QByteArray& bytes) {
    // Traced before it leaves: the time is when the command was written.
    write(">", escaped(bytes));
    traced("Output", [&] { m_port->Output(bytes); });
}

QByteArray TracingSerialPort::Input() {
    QByteArray bytes = traced("Input", [&] { return m_port->Input(); });
    if (!bytes.isEmpty())
        write("<", escaped(bytes), bytes.contains('\n'));
    return bytes;
}

int TracingSerialPort::discardReceived() {
    // What is waiting is taken through Input, to be shown; the port then discards
    // whatever came in between, which can be counted but not shown.
    QByteArray bytes;
    if (m_port->PortOpen()) {
        try {
            bytes = m_port->Input();
        } catch (const Failure& error) {
            // As the port's own discard: the next operation reports the lost line.
            write("=", "discard: " + error.description().toUtf8(), true);
        }
    }
    if (!bytes.isEmpty())
        write("<!", escaped(bytes), bytes.contains('\n'));
    const int unseen = m_port->discardReceived();
    if (unseen > 0)
        write("<!", "(" + QByteArray::number(unseen) + " bytes not shown)");
    return static_cast<int>(bytes.size()) + unseen;
}

std::unique_ptr<SerialPort> tracedWhenAsked(std::unique_ptr<SerialPort> port) {
    const QString path = qEnvironmentVariable("LCRPANEL_TRACE");
    if (path.isEmpty())
        return port;
    auto trace = std::make_unique<QFile>(path);
    if (!trace->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "LCRPANEL_TRACE: cannot write %s (%s); running without a trace\n",
                     qPrintable(path), qPrintable(trace->errorString()));
        return port;
    }
    return std::make_unique<TracingSerialPort>(std::move(port), std::move(trace));
}
