// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class Failure;

// How the system names serial devices: by path on Linux and other Unix systems
// ("/dev/ttyUSB0"), as "COMn" on Windows.
enum class PortNaming { Unix, Windows };

constexpr PortNaming hostPortNaming() {
#ifdef Q_OS_WIN
    return PortNaming::Windows;
#else
    return PortNaming::Unix;
#endif
}

// The port that the connect sequence opens: port 1 or 2, or a device by name.
struct PortChoice {
    int number = 2;
    QString device; // empty when the port number chooses

    bool namesDevice() const { return !device.isEmpty(); }
    // As the operator knows it: "1", "2" or the device.
    QString name() const { return namesDevice() ? device : QString::number(number); }
};

// The device that port 1 or 2 opens: "COMn" on Windows; elsewhere the device named by
// LCRPANEL_COM1 or LCRPANEL_COM2 when set, otherwise /dev/ttyS0 or /dev/ttyS1.
QString numberedPortDevice(int number);

// 1 or 2 when the device is what that port opens, otherwise 0.
int numberOfPortDevice(const QString& device);

// Reads the text of the port list. Exactly "1" or "2" is that port; a text equal to a
// listed device's item (listedDevice, empty when none) is that device; a trimmed text that
// names a device by the system's naming is that device ("COMn" in upper case). Every
// other text is port 2.
PortChoice choosePort(const QString& text, const QString& listedDevice, PortNaming naming);

// What the operator is told when the chosen port cannot be opened: "Comm port <name> not
// available", and on a second line the device and the system's reason, when there is one.
QString portNotAvailableText(const PortChoice& choice, const Failure& failure);
