// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/TracingSerialPort.h"

#include "files/FileTarget.h"
#include "values/Failure.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#ifndef LCRPANEL_VERSION
#define LCRPANEL_VERSION "unknown"
#endif

TracingSerialPort::TracingSerialPort(std::unique_ptr<SerialPort> port, std::unique_ptr<QFile> trace)
    : m_port(std::move(port)), m_trace(std::move(trace)) {
    m_clock.start();
    // What support needs to place the trace: which program, which process, and the
    // wall-clock start, to line it up with the log file.
    writeLine("# " + escaped(QCoreApplication::applicationName().toUtf8()) + " " +
              LCRPANEL_VERSION + ", process " +
              QByteArray::number(QCoreApplication::applicationPid()) +
              ", serial byte trace, started " +
              QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() +
              "; times in ms since then; > sent, < received, <! received and "
              "discarded unread, = port operation\n");
}

TracingSerialPort::~TracingSerialPort() {
    write("=", "trace ends");
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

void TracingSerialPort::write(const char* mark, const QByteArray& text) {
    const qint64 nowNs = m_clock.nsecsElapsed();
    writeLine(QByteArray::number(static_cast<double>(nowNs) / 1e6, 'f', 3) + ' ' + mark + ' ' +
              text + '\n');
}

void TracingSerialPort::writeLine(const QByteArray& line) {
    if (!m_stoppedBecause.isEmpty())
        return;
    const int handle = m_trace->handle();
    for (qint64 done = 0; done < line.size();) {
#ifdef Q_OS_WIN
        const auto written =
            ::_write(handle, line.constData() + done, static_cast<unsigned>(line.size() - done));
#else
        const auto written =
            ::write(handle, line.constData() + done, static_cast<size_t>(line.size() - done));
#endif
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_stoppedBecause = FileTarget::systemReason(written < 0 ? errno : ENOSPC);
            // The part of the line that did fit is taken back: the trace keeps whole lines.
            m_trace->resize(m_written);
            std::fprintf(stderr, "trace stopped: %s\n", qPrintable(m_stoppedBecause));
            return;
        }
        done += written;
    }
    m_written += line.size();
}

template <typename Operation>
auto TracingSerialPort::traced(const char* name, Operation operation) {
    try {
        return operation();
    } catch (const Failure& error) {
        write("=", name + QByteArray(" failed: ") + escaped(error.description().toUtf8()));
        throw;
    }
}

bool TracingSerialPort::PortOpen() const {
    return m_port->PortOpen();
}

void TracingSerialPort::setPortOpen(bool open) {
    const bool wasOpen = m_port->PortOpen();
    const QByteArray operation =
        open ? "open " + escaped(m_port->lineDescription().toUtf8()) : QByteArray("close");
    traced(operation.constData(), [&] { m_port->setPortOpen(open); });
    // Closing a closed port does nothing, and says nothing here either.
    if (open || wasOpen)
        write("=", operation);
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
        write("<", escaped(bytes));
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
            write("=", "discard: " + escaped(error.description().toUtf8()));
        }
    }
    if (!bytes.isEmpty())
        write("<!", escaped(bytes));
    const int unseen = m_port->discardReceived();
    if (unseen > 0)
        write("<!", "(" + QByteArray::number(unseen) + " bytes not shown)");
    return static_cast<int>(bytes.size()) + unseen;
}

QString TracingSerialPort::lineDescription() const {
    return m_port->lineDescription();
}

namespace {
// The trace file, opened without waiting: a FIFO that nobody reads is refused at once.
std::unique_ptr<QFile> openTrace(const QString& path, QString& failure) {
    if (FileTarget::isOtherThanAFile(path)) {
        failure = FileTarget::notARegularFile();
        return nullptr;
    }
    auto trace = std::make_unique<QFile>(path);
#ifdef Q_OS_WIN
    if (!trace->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failure = trace->errorString();
        return nullptr;
    }
#else
    // Non-blocking, in case a FIFO took the path's place since the check.
    const int handle = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (handle < 0) {
        failure = FileTarget::systemReason(errno);
        return nullptr;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    if (!trace->open(handle, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        failure = trace->errorString();
        return nullptr;
    }
#endif
    return trace;
}
} // namespace

std::unique_ptr<SerialPort> tracedWhenAsked(std::unique_ptr<SerialPort> port) {
    const QString path = qEnvironmentVariable("LCRPANEL_TRACE");
    if (path.isEmpty())
        return port;
    QString failure;
    std::unique_ptr<QFile> trace = openTrace(path, failure);
    if (!trace) {
        std::fprintf(stderr, "LCRPANEL_TRACE: cannot write %s (%s); running without a trace\n",
                     qPrintable(path), qPrintable(failure));
        return port;
    }
    return std::make_unique<TracingSerialPort>(std::move(port), std::move(trace));
}
