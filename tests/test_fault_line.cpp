// SPDX-License-Identifier: GPL-3.0-or-later
// Faults of the serial line, end to end for both programs: the real serial layer on a
// pseudo-terminal against the simulator, the real clock and scripted dialogs.
//
// - The line cut in the middle of a logged sweep (as a pulled adapter does): the run
//   reports the failure and ends, every point shown is in the log, the program stays
//   usable, and connecting again works once the line is back.
// - A port that does not exist, or that another program holds, at start-up and at connect.
#include "app/Form1.h"
#include "config/Configure.h"
#include "link/QtSerialPortComponent.h"
#include "measure/FrmMeasure.h"
#include "support/LogFileLines.h"
#include "support/PortOnPseudoTerminal.h"
#include "support/RealProgram.h"
#include "support/SimulatorProcess.h"
#include "support/TestProgram.h"
#include "values/Failure.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QtTest>

#include <unistd.h>

namespace {
QString dialectOf(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("lr40") : QStringLiteral("px80");
}

int preparationCount(const QString& variant) {
    return variant == QLatin1String("LR40") ? 3 : 2;
}
} // namespace

class LineFaults : public QObject {
    Q_OBJECT
private slots:
    void lineCutMidSweep_data();
    void lineCutMidSweep();
    void lineLostAtOtherOperations_data();
    void lineLostAtOtherOperations();
    void portUnavailable_data();
    void portUnavailable();
    void writeAfterLineLostFails();
};

void LineFaults::lineCutMidSweep_data() {
    QTest::addColumn<QString>("variant");
    // The simulator closes the line right after this many commands (empty ones not
    // counted), before it answers the last: LR40 sends 3 at connect and 1 when its
    // configuration window is created, then 2 per point; PX80 2 at connect, then 4 per
    // point (conf:freq, MEAS:, *STB?, Fetch?).
    QTest::addColumn<int>("closeAfter");
    QTest::addColumn<int>("pointsShown");
    QTest::addColumn<QString>("status");

    QTest::newRow("LR40 cut after a frequency command")
        << "LR40" << 4 + 2 * 3 + 1 << 3 << "Measuring 3";
    QTest::newRow("LR40 cut after a measurement command")
        << "LR40" << 4 + 2 * 1 + 2 << 1 << "Measuring 1";
    QTest::newRow("PX80 cut after a frequency command")
        << "PX80" << 2 + 4 * 3 + 1 << 3 << "Measuring 3";
    QTest::newRow("PX80 cut after Fetch?") << "PX80" << 2 + 4 * 2 + 4 << 2 << "Measuring 2";
}

void LineFaults::lineCutMidSweep() {
    QFETCH(QString, variant);
    QFETCH(int, closeAfter);
    QFETCH(int, pointsShown);
    QFETCH(QString, status);

    SimulatorProcess sim(dialectOf(variant),
                         {QStringLiteral("--close-after"), QString::number(closeAfter),
                          QStringLiteral("--reopen-after-ms"), QStringLiteral("300")});
    QVERIFY(sim.started());
    RealProgram p(variantNamed(variant));
    FrmMeasure* w = p.connectTo(sim);
    QVERIFY(w && w->isVisible());
    p.chooseSweep(QStringLiteral("1000"), QStringLiteral("5000"), QStringLiteral("4"));
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);
    QVERIFY(w->bLog());

    QElapsedTimer clock;
    clock.start();
    w->Start()->click();
    // The lost line is noticed at once, not after the reply's time limit.
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));

    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& report = p.dialogs->shown().front();
    QVERIFY2(report.text.startsWith(QStringLiteral("Error occurred: The serial line was lost")),
             qPrintable(report.text));
    QCOMPARE(report.title, QStringLiteral("frmMeasure -> Start_Click"));
    QCOMPARE(report.icon, MessageIcon::Exclamation);
    QCOMPARE(report.buttons, MessageButtons::Ok);
    QVERIFY(!p.root->port().PortOpen());

    // The run ended where it was: its status stays, only Stop is enabled.
    QCOMPARE(w->statusBox()->text(), status);
    QCOMPARE(enabledButtons(*w), QStringList{"stopbutton"});

    // Every point shown is on disk, the last one as the boxes show it.
    QStringList lines = logFileLines(path);
    QCOMPARE(lines.size(), 1 + pointsShown);
    QVERIFY2(lines.first().startsWith(QStringLiteral("Start Log ,")), qPrintable(lines.first()));
    for (int i = 0; i < pointsShown; ++i) {
        const QStringList fields = lines.at(1 + i).split(QLatin1Char(','));
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields.first(), QString::number(1000 * (i + 1)));
    }
    QCOMPARE(lines.last().split(QLatin1Char(',')).mid(1), shownResult(*w));

    // The operator stops, ends the log and goes back to the connection window.
    w->stopbutton()->click();
    QCOMPARE(enabledButtons(*w), idleButtons(true));
    w->StopLog()->click();
    lines = logFileLines(path);
    QCOMPARE(lines.size(), 2 + pointsShown);
    QVERIFY2(lines.last().startsWith(QStringLiteral("Stop Log ,")), qPrintable(lines.last()));
    w->cmdExit()->click();
    QVERIFY(p.root->form1().isVisible());
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));

    // Once the line is back, connecting works and so does a whole sweep.
    QVERIFY(sim.waitForReopen());
    p.root->form1().Measure()->click();
    QCOMPARE(p.dialogs->texts(), QStringList{report.text});
    QVERIFY(p.root->port().PortOpen());
    w = p.results();
    QVERIFY(w && w->isVisible());
    w->Start()->click();
    QCOMPARE(p.dialogs->texts(), QStringList{report.text});
    QCOMPARE(w->statusBox()->text(), QStringLiteral("Complete"));
    QCOMPARE(w->Ppar()->text(), QStringLiteral("Cs"));
}

void LineFaults::lineLostAtOtherOperations_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("operation"); // the button pressed: Config, Update, Lockout
    QTest::addColumn<int>("closeAfter");    // counted as in lineCutMidSweep
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text"); // how the report begins

    const QString lost = QStringLiteral("Error occurred: The serial line was lost");
    // Cut as the identification query arrives.
    QTest::newRow("LR40 Config") << "LR40"
                                 << "Config" << 3 + 1 << "frmMeasure -> Config_Click" << lost;
    QTest::newRow("PX80 Config") << "PX80"
                                 << "Config" << 2 + 1 << "frmMeasure -> Config_Click" << lost;
    // Cut during the upload's first pause (LR40 after its creation command and the first
    // two of the upload).
    QTest::newRow("LR40 Update Test")
        << "LR40"
        << "Update" << 3 + 1 + 2 << "Configure -> update_click" << lost;
    QTest::newRow("PX80 Update Test") << "PX80"
                                      << "Update" << 2 + 1 << "Error frmMeasure"
                                      << "Error Occurred";
    // Cut after the connect, before the lock button is pressed.
    QTest::newRow("LR40 Lockout") << "LR40"
                                  << "Lockout" << 3 << "frmMeasure -> Lockout_Click" << lost;
    QTest::newRow("PX80 Lockout") << "PX80"
                                  << "Lockout" << 2 << "frmMeasure -> Lockout_Click" << lost;
}

void LineFaults::lineLostAtOtherOperations() {
    QFETCH(QString, variant);
    QFETCH(QString, operation);
    QFETCH(int, closeAfter);
    QFETCH(QString, title);
    QFETCH(QString, text);

    SimulatorProcess sim(dialectOf(variant),
                         {QStringLiteral("--close-after"), QString::number(closeAfter),
                          QStringLiteral("--reopen-after-ms"), QStringLiteral("300")});
    QVERIFY(sim.started());
    RealProgram p(variantNamed(variant));
    FrmMeasure* w = p.connectTo(sim);
    QVERIFY(w && w->isVisible());

    QElapsedTimer clock;
    clock.start();
    if (operation == QLatin1String("Config")) {
        w->Config()->click();
        QVERIFY(!p.root->existingConfigure() || !p.root->existingConfigure()->isVisible());
    } else if (operation == QLatin1String("Update")) {
        Configure& configure = p.root->configure();
        configure.show();
        configure.Update()->click();
    } else {
        QTRY_VERIFY(!p.root->port().PortOpen()); // the program notices while it waits
        w->Lockout()->click();
        // The command did not go out: caption and lock state stay.
        QCOMPARE(w->Lockout()->text(), QStringLiteral("Not Locked Out"));
        QVERIFY(!p.root->module1().PanelLocked);
    }
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& report = p.dialogs->shown().front();
    QVERIFY2(report.text.startsWith(text), qPrintable(report.text));
    QCOMPARE(report.title, title);
    QCOMPARE(report.icon, MessageIcon::Exclamation);
    QVERIFY(!p.root->port().PortOpen());
    // The window is as it was loaded: every button but StopLog.
    QCOMPARE(enabledButtons(*w),
             (QStringList{"Start", "stopbutton", "cmdExit", "Config", "Lockout", "cmdLog"}));

    // Back at the connection window, the next connect works once the line is back.
    QVERIFY(sim.waitForReopen());
    w->cmdExit()->click();
    p.dialogs->clear();
    p.root->form1().Measure()->click();
    w = p.results();
    QVERIFY(w && w->isVisible());
    w->Config()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QVERIFY(!p.root->existingConfigure()->Unit()->text().isEmpty());
}

void LineFaults::portUnavailable_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("held");    // held by another program, else the device does not exist
    QTest::addColumn<bool>("atStart"); // the start-up port fails, else the port chosen at connect

    for (const char* v : {"LR40", "PX80"}) {
        const QString variant = QString::fromLatin1(v);
        QTest::newRow(QByteArray(v) + " port missing at start-up") << variant << false << true;
        QTest::newRow(QByteArray(v) + " port missing at connect") << variant << false << false;
        QTest::newRow(QByteArray(v) + " port held at start-up") << variant << true << true;
        QTest::newRow(QByteArray(v) + " port held at connect") << variant << true << false;
    }
}

void LineFaults::portUnavailable() {
    QFETCH(QString, variant);
    QFETCH(bool, held);
    QFETCH(bool, atStart);

    // Port 1 is the start-up port. The failing port is 1 at start-up, 2 at connect.
    SimulatorProcess sim(dialectOf(variant));
    SimulatorProcess other(dialectOf(variant));
    QVERIFY(sim.started() && other.started());
    SimulatorProcess& failingLine = atStart ? sim : other;
    const QString failingDevice =
        held ? failingLine.device() : sim.tempPath(QStringLiteral("no-such-line"));
    const int failingPort = atStart ? 1 : 2;
    sim.becomePort(1);
    qputenv(QByteArray("LCRPANEL_COM") + QByteArray::number(failingPort),
            failingDevice.toLocal8Bit());

    QSerialPort holder;
    if (held) {
        holder.setPortName(failingDevice);
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));
    }

    RealProgram p(variantNamed(variant));
    p.root->start();
    QCOMPARE(p.root->port().PortOpen(), !atStart);
    QVERIFY(p.dialogs->shown().empty()); // start-up reports nothing
    Form1& form1 = p.root->form1();
    form1.port()->setEditText(QString::number(failingPort));

    form1.Measure()->click();
    // The port number as chosen, then the device behind it and why it failed.
    QCOMPARE(
        p.dialogs->texts(),
        QStringList{QStringLiteral("Comm port %1 not available\n%2: %3")
                        .arg(failingPort)
                        .arg(failingDevice, held ? QStringLiteral("busy, held by another program")
                                                 : QStringLiteral("no such device"))});
    const ScriptedDialogs::Shown& shown = p.dialogs->shown().front();
    QCOMPARE(shown.title, p.root->variant().applicationTitle);
    QCOMPARE(shown.buttons, MessageButtons::Ok);
    QVERIFY(!p.root->port().PortOpen());
    QVERIFY(form1.isVisible());
    QVERIFY(!p.results());

    // The operator plugs the line in, or the other program lets go; the next press works.
    if (held)
        holder.close();
    else if (atStart)
        sim.becomePort(1);
    else
        form1.port()->setEditText(QStringLiteral("1")); // or simply chooses the other port
    SimulatorProcess& reached = held && !atStart ? other : sim;
    p.dialogs->clear();
    form1.Measure()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QVERIFY(p.root->port().PortOpen());
    QVERIFY(!form1.isVisible());
    FrmMeasure* w = p.results();
    QVERIFY(w && w->isVisible());
    QVERIFY(reached.waitForCommands(preparationCount(variant)));

    // The line works both ways: the identification reaches the configuration window.
    w->Config()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QVERIFY(p.root->existingConfigure());
    QVERIFY(!p.root->existingConfigure()->Unit()->text().isEmpty());
}

// The far end goes away while the program pauses between two commands (the pauses of an
// upload let no events run): the next command must fail with the reason, not pass as sent,
// or an upload whose last command went nowhere would be taken as done.
void LineFaults::writeAfterLineLostFails() {
    const int master = portOnPseudoTerminal();
    QVERIFY(master >= 0);
    QtSerialPortComponent port;
    port.setPortOpen(true);
    port.Output("conf:tdel 0\n");
    char received[32] = {};
    QCOMPARE(::read(master, received, sizeof received), qsizetype(12));

    ::close(master);
    QVERIFY_THROWS_EXCEPTION(Failure, port.Output("conf:aver 1\n"));
    QVERIFY(!port.PortOpen());
}

QTEST_MAIN(LineFaults)
#include "test_fault_line.moc"
