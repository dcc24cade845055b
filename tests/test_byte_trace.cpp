// SPDX-License-Identifier: GPL-3.0-or-later
// The byte trace for support: its format, the discarding of bytes that arrived unasked,
// switching it on with LCRPANEL_TRACE, and a trace that holds every line written, however
// the program ends.
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "support/FakeSerialPort.h"
#include "support/FileSizeLimit.h"
#include "support/PortOnPseudoTerminal.h"
#include "support/VirtualTiming.h"
#include "values/Failure.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The trace's events without their times, after checking that each line after the
// heading has a time in milliseconds and that the times never go back.
QStringList eventsIn(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no trace>")};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    if (lines.isEmpty() || !lines.takeFirst().startsWith(QLatin1Char('#')) ||
        lines.takeLast() != QString())
        return {QStringLiteral("<no heading or no last line end>")};
    static const QRegularExpression timed(QStringLiteral("^(\\d+\\.\\d{3}) (.*)$"));
    double before = 0;
    QStringList events;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = timed.match(line);
        if (!match.hasMatch() || match.captured(1).toDouble() < before)
            return {QStringLiteral("<bad time>: ") + line};
        before = match.captured(1).toDouble();
        events << match.captured(2);
    }
    return events;
}

QString headingOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readLine()) : QString();
}
} // namespace

class ByteTrace : public QObject {
    Q_OBJECT
private slots:
    void format();
    void discardTakesBytesThatCameDuringAPause();
    void switchedOnByTheEnvironment_data();
    void switchedOnByTheEnvironment();
    void fullDiskStopsTheTraceWhole();
    void programEndsBySignal_data();
    void programEndsBySignal();
};

void ByteTrace::format() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    VirtualTiming timing;
    auto fake = std::make_unique<FakeSerialPort>(timing);
    FakeSerialPort& line = *fake;
    line.answer("*IDN?", "Marovex, PX80\r\n");
    auto file = std::make_unique<QFile>(path);
    QVERIFY(file->open(QIODevice::WriteOnly));
    {
        TracingSerialPort port(std::move(fake), std::move(file));
        port.setCommPort(1);
        port.setSettings(QStringLiteral("9600"));
        port.setPortOpen(true);
        line.arrive("stale\r\n", 0);
        QCOMPARE(port.discardReceived(), 7);
        port.Output("*IDN?\r");
        QCOMPARE(port.Input(), QByteArray("Marovex, PX80\r\n"));
        port.Output(QByteArray("\x01\xff\\\t", 4));
        QCOMPARE(port.discardReceived(), 0);
        port.setPortOpen(false);
        QVERIFY_THROWS_EXCEPTION(Failure, port.Output("x\n"));
        // The discard is no operation of the port's sequence.
        QCOMPARE(line.operations(),
                 (QStringList{"port 1", "settings 9600", "open 1 at 9600", "close"}));
    }
    QCOMPARE(eventsIn(path), (QStringList{
                                 "= port 1",
                                 "= settings 9600",
                                 "= open 1 at 9600",
                                 "<! stale\\r\\n",
                                 "> *IDN?\\r",
                                 "< Marovex, PX80\\r\\n",
                                 "> \\x01\\xFF\\\\\\t",
                                 "= close",
                                 "> x\\n",
                                 "= Output failed: Port is not open (Output)",
                                 "= trace ends",
                             }));
    // The first line names the program, its version, the process and the date.
    const QString heading = headingOf(path);
    QVERIFY2(QRegularExpression(QStringLiteral("^# test_byte_trace \\d+\\.\\d+\\.\\d+, process %1, "
                                               "serial byte trace, started \\d{4}-\\d\\d-\\d\\dT")
                                    .arg(QCoreApplication::applicationPid()))
                 .match(heading)
                 .hasMatch(),
             qPrintable(heading));
}

// Bytes that arrive while the program pauses without letting events run are received all
// the same: the discard before the next command takes them, so they cannot pass for its
// reply.
void ByteTrace::discardTakesBytesThatCameDuringAPause() {
    const int master = portOnPseudoTerminal();
    QVERIFY(master >= 0);
    QtSerialPortComponent port;
    port.setPortOpen(true);
    QCOMPARE(::write(master, "late\r\n", 6), qsizetype(6));
    QThread::msleep(50);
    QCOMPARE(port.discardReceived(), 6);
    QCOMPARE(::write(master, "reply\r\n", 7), qsizetype(7));
    QThread::msleep(50);
    QCOMPARE(port.Input(), QByteArray("reply\r\n"));
    port.setPortOpen(false);
    QCOMPARE(port.discardReceived(), 0); // a closed port has nothing
    ::close(master);
}

void ByteTrace::switchedOnByTheEnvironment_data() {
    QTest::addColumn<QString>("file"); // below a temporary folder; empty: not set
    QTest::addColumn<bool>("traced");
    QTest::newRow("not set") << QString() << false;
    QTest::newRow("a file") << "trace.txt" << true;
    // Said on stderr; the program runs without a trace.
    QTest::newRow("a file that cannot be written") << "no/such/folder/trace.txt" << false;
    // Refused at once, never opened: nobody reads the FIFO, and /dev/full takes nothing.
    QTest::newRow("a FIFO") << "fifo" << false;
    QTest::newRow("a device") << "/dev/full" << false;
}

void ByteTrace::switchedOnByTheEnvironment() {
    QFETCH(QString, file);
    QFETCH(bool, traced);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    if (file == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (file.isEmpty())
        qunsetenv("LCRPANEL_TRACE");
    else
        qputenv("LCRPANEL_TRACE", QFile::encodeName(path));
    VirtualTiming timing;
    auto fake = std::make_unique<FakeSerialPort>(timing);
    const SerialPort* plain = fake.get();
    std::unique_ptr<SerialPort> port = tracedWhenAsked(std::move(fake));
    QCOMPARE(port.get() != plain, traced);
    port->setCommPort(2);
    port.reset();
    qunsetenv("LCRPANEL_TRACE");
    if (traced)
        QCOMPARE(eventsIn(path), (QStringList{"= port 2", "= trace ends"}));
}

// The lines before the failure stay whole; nothing is written after it.
void ByteTrace::fullDiskStopsTheTraceWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    VirtualTiming timing;
    auto file = std::make_unique<QFile>(path);
    QVERIFY(file->open(QIODevice::WriteOnly));
    TracingSerialPort port(std::make_unique<FakeSerialPort>(timing), std::move(file));
    port.setCommPort(1);
    {
        const FileSizeLimit limit(QFileInfo(path).size() + 10); // part of a line
        QVERIFY(limit.active());
        port.setCommPort(2);
    }
    port.setCommPort(1);
    QCOMPARE(port.stoppedBecause(), QStringLiteral("File too large"));
    QCOMPARE(eventsIn(path), QStringList{"= port 1"});
}

void ByteTrace::programEndsBySignal_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QStringList>("events"); // %1: the device
    // The exit sequence, then 128 + 15; the port's lock file gone.
    QTest::newRow("SIGTERM") << int(SIGTERM)
                             << QStringList{"= open %1 at 9600", "= close", "= trace ends"};
    // Killed outright: every line traced so far is whole in the file.
    QTest::newRow("kill -9") << int(SIGKILL) << QStringList{"= open %1 at 9600"};
}

// The program itself: its trace names the device of the open made at start-up.
void ByteTrace::programEndsBySignal() {
    QFETCH(int, signalNumber);
    QFETCH(QStringList, events);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    const int master = portOnPseudoTerminal();
    QVERIFY(master >= 0);
    const QString device = qEnvironmentVariable("LCRPANEL_COM1");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LCRPANEL_TRACE"), path);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(LR40_PATH), QStringList());
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(eventsIn(path).value(0).startsWith("= open"), 10000);
    ::kill(static_cast<pid_t>(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(eventsIn(path), events.replaceInStrings("%1", device));
    if (signalNumber == SIGTERM) {
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 128 + SIGTERM);
        QVERIFY(!QFile::exists("/var/lock/LCK.." + device.mid(5).replace('/', '_')));
    }
    ::close(master);
}

QTEST_GUILESS_MAIN(ByteTrace)
#include "test_byte_trace.moc"
