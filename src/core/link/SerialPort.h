// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A serial device that the system reports: its device as opened ("/dev/ttyUSB0", "COM5"),
// and the description and maker when the system knows them.
struct DetectedPort {
    QString device;
    QString description;
    QString manufacturer;
};

// The serial port component: the operations the panel needs, named as the program uses
// them. Every failure is raised as a Failure with a description.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool PortOpen() const = 0;
    // true opens with the current port number or device and settings, raising a
    // PortOpenError when it cannot; false closes (closing a closed port does nothing).
    virtual void setPortOpen(bool open) = 0;
    // Port number 1 or 2; takes effect at the next open.
    virtual void setCommPort(int number) = 0;
    // A device by name ("/dev/ttyUSB0", "COM5") instead of a port number; takes effect at
    // the next open. Whichever of setCommPort and setDevice came last is opened.
    virtual void setDevice(const QString& device) = 0;
    // The device and the baud rate that the next open uses, or that the open port uses:
    // "/dev/ttyS0 at 9600".
    virtual QString lineDescription() const = 0;
    // The serial devices present now.
    virtual std::vector<DetectedPort> detectedPorts() const = 0;
    // The baud rate as text ("9600", "19200"); the frame stays 8 data bits, no parity,
    // 1 stop bit. Takes effect at the next open.
    virtual void setSettings(const QString& baudText) = 0;
    virtual void setDTREnable(bool on) = 0;
    virtual void setRTSEnable(bool on) = 0;
    // Setting 0 discards every received byte not yet taken.
    virtual void setInBufferCount(int count) = 0;
    // Queues the bytes for sending at once.
    virtual void Output(const QByteArray& bytes) = 0;
    // All bytes received and not yet taken, possibly none.
    virtual QByteArray Input() = 0;
    // Discards every byte received and not yet taken, those the system still holds
    // included, and returns how many. A closed port has none. Used before a command whose
    // reply will be read, so that a late line cannot pass for that reply.
    virtual int discardReceived() = 0;
};
