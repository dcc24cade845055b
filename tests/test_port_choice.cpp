// SPDX-License-Identifier: GPL-3.0-or-later
// The port list's text read as a port: port 1, port 2 or a device, by the naming of Unix
// systems and of Windows.
#include "link/PortChoice.h"
#include "link/QtSerialPortComponent.h"
#include "values/Failure.h"

#include <QtTest>

namespace {
QString shown(const PortChoice& choice) {
    return choice.namesDevice() ? QStringLiteral("device ") + choice.device
                                : QStringLiteral("port %1").arg(choice.number);
}

void addColumns() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("listedDevice"); // the device of the list item with this text
    QTest::addColumn<QString>("opened");
}
} // namespace

class PortChoiceRules : public QObject {
    Q_OBJECT
private slots:
    void unixNaming_data();
    void unixNaming() { verify(PortNaming::Unix); }
    void windowsNaming_data();
    void windowsNaming() { verify(PortNaming::Windows); }
    void openFailureNamesTheReason_data();
    void openFailureNamesTheReason();

private:
    void verify(PortNaming naming);
};

void PortChoiceRules::unixNaming_data() {
    addColumns();
    QTest::newRow("1") << "1" << QString() << "port 1";
    QTest::newRow("2") << "2" << QString() << "port 2";
    QTest::newRow("1 with blanks") << " 1 " << QString() << "port 2";
    QTest::newRow("path with blanks") << " /dev/ttyUSB0 " << QString() << "device /dev/ttyUSB0";
    QTest::newRow("COM5") << "COM5" << QString() << "port 2";
    QTest::newRow("com12") << "com12" << QString() << "port 2";
    QTest::newRow("listed item") << "/dev/ttyUSB1 - FT232R USB UART (FTDI)"
                                 << "/dev/ttyUSB1"
                                 << "device /dev/ttyUSB1";
    QTest::newRow("abc") << "abc" << QString() << "port 2";
    QTest::newRow("empty") << "" << QString() << "port 2";
}

void PortChoiceRules::windowsNaming_data() {
    addColumns();
    QTest::newRow("1") << "1" << QString() << "port 1";
    QTest::newRow("2") << "2" << QString() << "port 2";
    QTest::newRow("1 with blanks") << " 1 " << QString() << "port 2";
    QTest::newRow("path with blanks") << " /dev/ttyUSB0 " << QString() << "port 2";
    QTest::newRow("COM5") << "COM5" << QString() << "device COM5";
    QTest::newRow("com12") << "com12" << QString() << "device COM12";
    QTest::newRow("listed item") << "COM7 - USB Serial Port (FTDI)"
                                 << "COM7"
                                 << "device COM7";
    QTest::newRow("abc") << "abc" << QString() << "port 2";
    QTest::newRow("empty") << "" << QString() << "port 2";
}

void PortChoiceRules::verify(PortNaming naming) {
    QFETCH(QString, text);
    QFETCH(QString, listedDevice);
    QTEST(shown(choosePort(text, listedDevice, naming)), "opened");
}

void PortChoiceRules::openFailureNamesTheReason_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("reason");
    // Too long for the name of the lock file made before the open, or for a path at all.
    QTest::newRow("300 characters") << "/dev/" + QString(295, QLatin1Char('x'))
                                    << "the device name is too long (300 characters)";
    QTest::newRow("5000 characters") << "/dev/" + QString(4995, QLatin1Char('x'))
                                     << "the device name is too long (5000 characters)";
}

// The real component; the designed first line, then the device and the reason.
void PortChoiceRules::openFailureNamesTheReason() {
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QtSerialPortComponent port;
    port.setDevice(device);
    try {
        port.setPortOpen(true);
        QFAIL("opened");
    } catch (const Failure& failure) {
        QCOMPARE(portNotAvailableText({2, device}, failure),
                 "Comm port " + device + " not available\n" + device + ": " + reason);
    }
}

QTEST_MAIN(PortChoiceRules)
#include "test_port_choice.moc"
