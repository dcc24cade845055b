// SPDX-License-Identifier: GPL-3.0-or-later
// lcrctl against the simulator: each command's exit status, output and bytes on the line,
// and the same bytes as the windows send for the same work.
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "support/SimulatorProcess.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <csignal>

namespace {
struct Outcome {
    int exitCode = -1;
    QStringList out;
    QString err;
};

Outcome lcrctl(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(LCRCTL_PATH), arguments);
    process.waitForFinished(30000);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return {process.exitCode(), out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
}

// The commands after the family's hand-over at connect.
QStringList afterHandOver(const QStringList& commands, const QString& family) {
    const int handOver =
        static_cast<int>(variantNamed(family).connection.preparationCommands.size());
    return commands.mid(handOver);
}
} // namespace

class LcrctlTest : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void sameBytesAsTheWindows_data();
    void sameBytesAsTheWindows();
    void interruptedSweepKeepsItsRows();
    void biasSweepIdentifiesUploadsAndRestores();
};

void LcrctlTest::biasSweepIdentifiesUploadsAndRestores() {
    SimulatorProcess sim(QStringLiteral("lr40"), {});
    QVERIFY(sim.started());
    const Outcome outcome =
        lcrctl({"--family", "lr40", "--port", sim.device(), "sweep", "--sweep", "bias", "--start",
                "0", "--stop", "1", "--steps", "2", "--step", "voltage=0.5,1"});
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out.size(), 1 + 6);
    QVERIFY(outcome.out.first().contains(",Secondary unit,Bias (V),Step,"));
    QVERIFY(outcome.out.at(2).contains(",0.5,0.5,")); // 0.5 V bias at the first step
    QStringList c;
    for (const QString& command : sim.commands())
        c << command.chopped(2); // the shown terminator
    QVERIFY(c.indexOf(QRegularExpression("(?i)\\*idn\\?")) < c.indexOf("save save"));
    const QStringList sweep{"conf:applv 0.5", "conf:bias 0", "conf:bias 0.5", "conf:bias 1",
                            "conf:applv 1",   "conf:bias 0", "conf:bias 0.5", "conf:bias 1",
                            "conf:bias Off",  "conf:applv 1"};
    QStringList sent;
    for (const QString& command : c.mid(c.indexOf("save save")))
        if (command.startsWith("conf:"))
            sent << command;
    QCOMPARE(sent, sweep);
}

void LcrctlTest::commands_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstLine"); // of stdout; its line count follows
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("error");    // on stderr
    QTest::addColumn<int>("commandsSent"); // -1: not counted

    const QString header = QStringLiteral("Point,Frequency (Hz),Primary parameter,");
    QTest::newRow("identify") << "LR40" << QStringList{"identify"} << QStringList() << 0
                              << "Maker: Marovex" << 4 << "" << -1;
    QTest::newRow("measure with settings")
        << "PX80" << QStringList{"measure", "--ppar", "Cs", "--freq", "10k"} << QStringList() << 0
        << header << 2 << "" << -1;
    QTest::newRow("sweep as JSON lines")
        << "LR40" << QStringList{"sweep", "--steps", "2", "--format", "jsonl"} << QStringList() << 0
        << "{\"point\":1,\"frequency_hz\":1000," << 3 << "" << -1;
    QTest::newRow("unlock") << "PX80" << QStringList{"unlock"} << QStringList() << 0 << "" << 0
                            << "" << -1;
    QTest::newRow("system settings alone") << "LR40" << QStringList{"upload", "--median", "ON"}
                                           << QStringList() << 0 << "" << 0 << "" << 3 + 1 + 4;
    QTest::newRow("frequency out of range: nothing sent")
        << "LR40" << QStringList{"measure", "--freq", "5M"} << QStringList() << 2 << "" << 0
        << "Frequency limits are 20 to 1000000" << 0;
    QTest::newRow("secondary with Auto: nothing sent")
        << "PX80" << QStringList{"upload", "--spar", "DF"} << QStringList() << 2 << "" << 0
        << "--spar cannot be given with the primary Auto" << 0;
    QTest::newRow("bias above the model's limit: hand-over and query only")
        << "LR40" << QStringList{"measure", "--bias", "1.5"} << QStringList() << 2 << "" << 0
        << "Bias limits are 0 to 1" << 3 + 2;
    QTest::newRow("missing device")
        << "LR40" << QStringList{"lock", "--port", "/nonexistent/tty"} << QStringList() << 3 << ""
        << 0 << "Comm port /nonexistent/tty not available" << 0;
    // fit reads a file: "{sweep}" is a default sweep of this simulator saved by lcrctl,
    // "{short}" one of two points, "{bad}" a file that is no sweep.
    QTest::newRow("fit of a saved sweep")
        << "LR40" << QStringList{"fit", "--model", "series-rc", "{sweep}"} << QStringList() << 0
        << "R\t" << 4 << "" << -1;
    QTest::newRow("fit as a SPICE subcircuit")
        << "LR40" << QStringList{"fit", "--model", "series-rc", "--spice", "{sweep}"}
        << QStringList() << 0 << "* series-rc fitted to 11 points" << 5 << "" << -1;
    QTest::newRow("fit with too few points")
        << "LR40" << QStringList{"fit", "--model", "series-rc", "{short}"} << QStringList() << 6
        << "" << 0 << "lcrctl: The series-rc model needs at least 3 points" << -1;
    QTest::newRow("fit of a file that is no sweep")
        << "LR40" << QStringList{"fit", "--model", "crystal", "{bad}"} << QStringList() << 7 << ""
        << 0 << ", line 1: no recognisable header" << -1;
    QTest::newRow("fit of an unknown model")
        << "LR40" << QStringList{"fit", "--model", "tank", "{bad}"} << QStringList() << 2 << "" << 0
        << "--model must be one of series-rc, " << -1;
    QTest::newRow("log voltage sweep from 0 refused")
        << "LR40" << QStringList{"sweep", "--sweep", "bias", "--start", "0", "--stop", "1", "--log"}
        << QStringList() << 2 << "" << 0 << "A logarithmic sweep cannot start or stop at 0" << -1;
    QTest::newRow("silent instrument")
        << "PX80" << QStringList{"identify"} << QStringList{"--silent"} << 4 << "" << 0
        << "The instrument did not answer *idn? within 10 s on " << -1;
}

void LcrctlTest::commands() {
    QFETCH(QString, family);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, simulator);
    QFETCH(int, exitCode);
    QFETCH(QString, firstLine);
    QFETCH(int, lines);
    QFETCH(QString, error);
    QFETCH(int, commandsSent);

    SimulatorProcess sim(family.toLower(), simulator);
    QVERIFY(sim.started());
    QStringList all{"--family", family.toLower(), "--port", sim.device()};
    const QString file = sim.tempPath(QStringLiteral("saved.csv"));
    for (QString& argument : arguments) {
        if (argument == QLatin1String("{bad}")) {
            QFile bad(file);
            QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a sweep\n") > 0);
        } else if (argument == QLatin1String("{sweep}") || argument == QLatin1String("{short}")) {
            const QStringList steps{"--steps", argument == QLatin1String("{sweep}") ? "10" : "1"};
            QCOMPARE(lcrctl(all + QStringList{"sweep", "--output", file} + steps).exitCode, 0);
        } else {
            continue;
        }
        argument = file;
    }
    all += arguments; // a later --port wins
    const Outcome outcome = lcrctl(all);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.out.size(), lines);
    if (lines > 0)
        QVERIFY2(outcome.out.first().startsWith(firstLine), qPrintable(outcome.out.first()));
    QVERIFY2(outcome.err.contains(error), qPrintable(outcome.err));
    if (exitCode == 0)
        QVERIFY(outcome.err.isEmpty());
    if (commandsSent > 0)
        QVERIFY(sim.waitForCommands(commandsSent)); // lcrctl may exit before the log is read
    if (commandsSent >= 0)
        QCOMPARE(sim.commands().size(), commandsSent);
}

void LcrctlTest::sameBytesAsTheWindows_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("command");
    for (const char* family : {"LR40", "PX80"})
        for (const char* command : {"upload", "sweep", "lock"})
            QTest::addRow("%s %s", family, command) << family << command;
}

void LcrctlTest::sameBytesAsTheWindows() {
    QFETCH(QString, family);
    QFETCH(QString, command);

    TestProgram p(variantNamed(family));
    p.connect();
    p.port->answer("MEAS:*WAIT:FETC?", "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone\r\n", 0.05);
    p.port->answer("*STB?", "0\r\n", 0.05);
    p.port->answer("Fetch?", "Cs\t1.0E-9\tF\tD\t0.01\tnone\r\n", 0.05);
    if (command == QLatin1String("lock")) {
        p.root->frmMeasure().Lockout()->click();
    } else {
        Configure& configure = p.root->configure(); // created as the windows always have by now
        if (command == QLatin1String("upload")) {
            configure.Update()->click();
        } else {
            configure.SingleorSweep()->setCurrentText(QStringLiteral("Sweep"));
            p.root->frmMeasure().Start()->click();
        }
    }

    SimulatorProcess sim(family.toLower());
    QVERIFY(sim.started());
    const Outcome outcome = lcrctl({"--family", family.toLower(), "--port", sim.device(), command});
    QCOMPARE(outcome.exitCode, 0);
    // The simulator logs what it has read; lcrctl may have exited a moment before.
    const int handOver =
        static_cast<int>(variantNamed(family).connection.preparationCommands.size());
    QVERIFY(sim.waitForCommands(handOver + static_cast<int>(p.port->commands().size())));
    QCOMPARE(afterHandOver(sim.commands(), family), p.port->commands());
}

void LcrctlTest::interruptedSweepKeepsItsRows() {
    SimulatorProcess sim(QStringLiteral("lr40"));
    QVERIFY(sim.started());
    const QString rows = sim.tempPath(QStringLiteral("rows.csv"));
    QProcess process;
    process.start(QStringLiteral(LCRCTL_PATH), {"--family", "lr40", "--port", sim.device(), "sweep",
                                                "--steps", "1000", "--output", rows});
    // Hand-over, "option 00 08 " and three points.
    QVERIFY(sim.waitForCommands(3 + 1 + 3 * 2, 20000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(15000));
    QCOMPARE(process.exitCode(), 130);

    QFile file(rows);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.size() >= 4);
    QCOMPARE(lines.last(), QByteArray()); // the last row is whole
    for (const QByteArray& line : lines.mid(0, lines.size() - 1))
        QCOMPARE(line.count(','), 21);
}

QTEST_MAIN(LcrctlTest)
#include "test_lcrctl.moc"
