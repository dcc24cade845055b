// The byte trace for support: its format, the discarding of bytes that arrived unasked,
// and switching it on with LCRPANEL_TRACE.
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "support/FakeSerialPort.h"
#include "support/PortOnPseudoTerminal.h"
#include "support/VirtualTiming.h"
#include "values/Failure.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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
} // namespace

class ByteTrace : public QObject {
    Q_OBJECT
private slots:
    void format();
    void discardTakesBytesThatCameDuringAPause();
    void switchedOnByTheEnvironment_data();
    void switchedOnByTheEnvironment();
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
                                 "= open",
                                 "<! stale\\r\\n",
                                 "> *IDN?\\r",
                                 "< Marovex, PX80\\r\\n",
                                 "> \\x01\\xFF\\\\\\t",
                                 "= close",
                                 "> x\\n",
                                 "= Output failed: Port is not open (Output)",
                                 "= trace ends",
                             }));
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
}

void ByteTrace::switchedOnByTheEnvironment() {
    QFETCH(QString, file);
    QFETCH(bool, traced);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
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

QTEST_GUILESS_MAIN(ByteTrace)
#include "test_byte_trace.moc"
