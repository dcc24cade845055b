// SPDX-License-Identifier: GPL-3.0-or-later
// A silent instrument, end to end for both programs: the real serial layer on a
// pseudo-terminal against the simulator (silent for one command only), the real clock and
// scripted dialogs. Silent at the identification of Config (the long not-responding
// message) and at a measurement (the short one), each answered OK and Cancel. OK keeps the
// program working; Cancel ends it with the log file and the port closed and the log whole
// on disk. Each silent read costs ten real seconds, so every case makes the fewest.
#include "app/Form1.h"
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "support/LogFileLines.h"
#include "support/RealProgram.h"
#include "support/SimulatorProcess.h"
#include "support/TestProgram.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
QString longNotResponding(const QString& series) {
    return QStringLiteral("%1 not responding\r"
                          "Make sure %1 is turned on and RS232 cable is connected\r"
                          "Make sure %1 is not in program or utilities menu\r"
                          "In Utilities check Baud Rate and set Trigger Source to External")
        .arg(series);
}

QString dialectOf(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("lr40") : QStringLiteral("px80");
}

// The program ended by Cancel: every window gone, port and log file closed, and the port
// free for another program.
void verifyEndedCleanly(RealProgram& p, const QString& device) {
    QVERIFY(p.root->ended());
    QVERIFY(!p.root->port().PortOpen());
    QVERIFY(deviceIsFree(device));
    QVERIFY(!p.root->resultLog().isOpen());
    QVERIFY(!p.root->form1().isVisible());
    QVERIFY(!p.root->existingFrmMeasure() || !p.root->existingFrmMeasure()->isVisible());
    QVERIFY(!p.root->existingConfigure() || !p.root->existingConfigure()->isVisible());
}

void verifyNotResponding(const ScriptedDialogs::Shown& shown, const QString& text,
                         const RealProgram& p) {
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.buttons, MessageButtons::OkCancel);
    QCOMPARE(shown.icon, MessageIcon::None);
    QCOMPARE(shown.title, p.root->variant().applicationTitle);
}
} // namespace

class SilentInstrument : public QObject {
    Q_OBJECT
private slots:
    void atIdentification_data();
    void atIdentification();
    void atMeasurement_data();
    void atMeasurement();
};

void SilentInstrument::atIdentification_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("LR40 OK") << "LR40" << false;
    QTest::newRow("LR40 Cancel") << "LR40" << true;
    QTest::newRow("PX80 OK") << "PX80" << false;
    QTest::newRow("PX80 Cancel") << "PX80" << true;
}

void SilentInstrument::atIdentification() {
    QFETCH(QString, variant);
    QFETCH(bool, cancel);

    SimulatorProcess sim(dialectOf(variant),
                         {QStringLiteral("--silent-for"), QStringLiteral("*IDN?")});
    QVERIFY(sim.started());
    RealProgram p(variantNamed(variant));
    FrmMeasure* w = p.connectTo(sim);
    QVERIFY(w && w->isVisible());

    // Three points measured and logged before the instrument falls silent.
    p.chooseSweep(QStringLiteral("1000"), QStringLiteral("3000"), QStringLiteral("2"));
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);
    w->Start()->click();
    QCOMPARE(w->statusBox()->text(), QStringLiteral("Complete"));
    QCOMPARE(logFileLines(path).size(), 4);
    QVERIFY(p.dialogs->shown().empty());

    p.dialogs->queueAnswer(cancel ? MessageAnswer::Cancel : MessageAnswer::Ok);
    QElapsedTimer clock;
    clock.start();
    w->Config()->click();
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 10000 && took < 20000, qPrintable(QString::number(took)));
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    verifyNotResponding(p.dialogs->shown().front(),
                        longNotResponding(p.root->variant().link.seriesName), p);

    QStringList lines = logFileLines(path);
    if (cancel) {
        verifyEndedCleanly(p, sim.device());
        // The opening line and the three results, each a whole line; nothing after them.
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines.first().startsWith(QStringLiteral("Start Log ,")), qPrintable(lines[0]));
        for (int i = 1; i < 4; ++i)
            QCOMPARE(lines.at(i).split(QLatin1Char(',')).size(), 7);
        QCOMPARE(lines.last().split(QLatin1Char(',')).first(), QStringLiteral("3000"));
        // Nothing of the interrupted Config ran on: the query was the last command.
        QVERIFY(sim.commands().last().startsWith(QStringLiteral("*IDN?"), Qt::CaseInsensitive));
        return;
    }

    // OK: the configuration window opens all the same, with the model still unknown.
    QVERIFY(w->isVisible());
    Configure* configure = p.root->existingConfigure();
    QVERIFY(configure && configure->isVisible());
    QCOMPARE(configure->Unit()->text(), QString());
    QCOMPARE(enabledButtons(*w), idleButtons(true));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.last(), QStringLiteral("Configuration Changed"));

    // And the program goes on measuring and logging.
    w->Start()->click();
    w->StopLog()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    lines = logFileLines(path);
    QCOMPARE(lines.size(), 9);
    QVERIFY2(lines.last().startsWith(QStringLiteral("Stop Log ,")), qPrintable(lines.last()));
}

void SilentInstrument::atMeasurement_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("silentFor");
    QTest::addColumn<bool>("cancel");
    // The not-responding messages before the run gives up: PX80 reads the "*STB?" reply
    // without looking at its time-out and goes on to "Fetch?".
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("lastCommand");

    QTest::newRow("LR40 OK") << "LR40"
                             << "MEAS:*WAIT:FETC?" << false << 1 << "MEAS:*WAIT:FETC?\\r";
    QTest::newRow("LR40 Cancel") << "LR40"
                                 << "MEAS:*WAIT:FETC?" << true << 1 << "MEAS:*WAIT:FETC?\\r";
    QTest::newRow("PX80 OK") << "PX80"
                             << "*STB?,Fetch?" << false << 2 << "Fetch?\\n";
    QTest::newRow("PX80 Cancel at *STB?") << "PX80"
                                          << "*STB?,Fetch?" << true << 1 << "*STB?\\n";
}

void SilentInstrument::atMeasurement() {
    QFETCH(QString, variant);
    QFETCH(QString, silentFor);
    QFETCH(bool, cancel);
    QFETCH(int, messages);
    QFETCH(QString, lastCommand);

    SimulatorProcess sim(dialectOf(variant), {QStringLiteral("--silent-for"), silentFor});
    QVERIFY(sim.started());
    RealProgram p(variantNamed(variant));
    FrmMeasure* w = p.connectTo(sim);
    QVERIFY(w && w->isVisible());
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);
    w->Config()->click(); // the identification works and marks the log
    QVERIFY(p.dialogs->shown().empty());
    p.chooseSweep(QStringLiteral("1000"), QStringLiteral("3000"), QStringLiteral("2"));

    QList<QStringList> buttonsWhileAsking;
    p.dialogs->onMessage(
        [&](const ScriptedDialogs::Shown&) { buttonsWhileAsking << enabledButtons(*w); });
    if (cancel)
        p.dialogs->queueAnswer(MessageAnswer::Cancel);
    QElapsedTimer clock;
    clock.start();
    w->Start()->click();
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= messages * 10200 && took < messages * 10200 + 10000,
             qPrintable(QString::number(took)));

    QCOMPARE(p.dialogs->shown().size(), std::size_t(messages));
    for (const ScriptedDialogs::Shown& shown : p.dialogs->shown())
        verifyNotResponding(shown, p.root->variant().link.seriesName + " not responding", p);
    QCOMPARE(buttonsWhileAsking, QList<QStringList>(messages, QStringList{"stopbutton"}));
    QVERIFY(sim.waitForCommands(1));
    QCOMPARE(sim.commands().last(), lastCommand);

    QStringList lines = logFileLines(path);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.first().startsWith(QStringLiteral("Start Log ,")), qPrintable(lines[0]));
    QCOMPARE(lines.last(), QStringLiteral("Configuration Changed"));
    if (cancel) {
        verifyEndedCleanly(p, sim.device());
        return;
    }

    // OK: the run gave up at its first point; only Stop is enabled until it is pressed.
    QCOMPARE(w->statusBox()->text(), QStringLiteral("Measuring 0"));
    QCOMPARE(enabledButtons(*w), QStringList{"stopbutton"});
    w->stopbutton()->click();
    QCOMPARE(enabledButtons(*w), idleButtons(true));

    // The program goes on: the identification still answers, and the log is whole.
    w->Config()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t(messages));
    QVERIFY(!p.root->existingConfigure()->Unit()->text().isEmpty());
    w->StopLog()->click();
    lines = logFileLines(path);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(2), QStringLiteral("Configuration Changed"));
    QVERIFY2(lines.last().startsWith(QStringLiteral("Stop Log ,")), qPrintable(lines.last()));
}

QTEST_MAIN(SilentInstrument)
#include "test_fault_silence.moc"
