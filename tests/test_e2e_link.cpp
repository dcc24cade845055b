// SPDX-License-Identifier: GPL-3.0-or-later
// The real serial layer on a pseudo-terminal against the simulator: start-up, connect at
// the chosen baud rate on port 1 or on a device typed by its path, identification, a typed
// device that does not exist, a read that times out, and a line that goes away.
#include "app/Form1.h"
#include "app/ProgramRoot.h"
#include "instrument/IdentitySplit.h"
#include "measure/FrmMeasure.h"
#include "support/RealProgram.h"
#include "support/SimulatorProcess.h"
#include "values/Failure.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QtTest>

class EndToEndLink : public QObject {
    Q_OBJECT
private slots:
    void connectAndIdentify_data();
    void connectAndIdentify();
    void typedMissingDeviceIsNamed();
    void silentInstrumentTimesOut();
    void lostLineIsReportedAndConnectWorksAgain();
};

void EndToEndLink::connectAndIdentify_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QStringList>("preparation");
    QTest::addColumn<QStringList>("identification");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("typedPath"); // the line's path typed into port, else port 1
    const QStringList lr40Preparation{"syst:trig ext\\r", "syst:disp dmeas\\r", "syst:fres sci\\r"};
    const QStringList px80Preparation{"conf:disp m\\n", "conf:fres sci\\n"};
    QTest::newRow("LR40 at 19200")
        << "lr40"
        << "19200" << lr40Preparation << QStringList{"\\r", "*IDN?\\r"} << "Model LR42" << false;
    QTest::newRow("PX80 at 9600") << "px80"
                                  << "9600" << px80Preparation << QStringList{"*idn?\\n"} << " PX80"
                                  << false;
    QTest::newRow("LR40 typed path at 9600")
        << "lr40"
        << "9600" << lr40Preparation << QStringList{"\\r", "*IDN?\\r"} << "Model LR41" << true;
    QTest::newRow("PX80 typed path at 19200")
        << "px80"
        << "19200" << px80Preparation << QStringList{"*idn?\\n"} << " PX80" << true;
}

void EndToEndLink::connectAndIdentify() {
    QFETCH(QString, dialect);
    QFETCH(QString, baud);
    QFETCH(QStringList, preparation);
    QFETCH(QStringList, identification);
    QFETCH(QString, model);
    QFETCH(bool, typedPath);
    SimulatorProcess sim(dialect, {QStringLiteral("--model"),
                                   model.trimmed() == "PX80" ? QStringLiteral("PX80") : model});
    QVERIFY(sim.started());
    if (!typedPath)
        sim.becomePort(1);
    RealProgram p(dialect == "lr40" ? lr40Profile() : px80Profile());
    p.root->start();
    // Ports 1 and 2 lead nowhere unless port 1 is the line.
    QCOMPARE(p.root->port().PortOpen(), !typedPath);

    if (typedPath)
        p.root->form1().port()->setEditText(sim.device());
    p.root->form1().baud()->setEditText(baud);
    p.root->form1().Measure()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QVERIFY(p.root->existingFrmMeasure() && p.root->existingFrmMeasure()->isVisible());
    QCOMPARE(p.root->existingFrmMeasure()->windowTitle(), QStringLiteral("Results"));
    QVERIFY(sim.waitForCommands(preparation.size()));
    QCOMPARE(sim.commands(), preparation);

    const Reply identified =
        p.root->instrument().identify(p.root->link(), p.root->module1().Identity);
    QCOMPARE(identified.timedOut, false);
    QCOMPARE(p.root->module1().Identity.Maker, QStringLiteral("Marovex"));
    QCOMPARE(p.root->module1().Identity.Model, model);
    QVERIFY(!p.root->module1().Identity.Firmware.isEmpty());
    QCOMPARE(sim.commands().mid(preparation.size()), identification);

    p.root->form1().Command3()->click();
    QVERIFY(p.root->ended());
    QVERIFY(!p.root->port().PortOpen());
}

void EndToEndLink::typedMissingDeviceIsNamed() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ttyUSB9"));
    RealProgram p(lr40Profile());
    p.root->start();
    p.root->form1().port()->setEditText(missing);
    p.root->form1().Measure()->click();
    QCOMPARE(
        p.dialogs->texts(),
        QStringList{QStringLiteral("Comm port %1 not available\n%1: no such device").arg(missing)});
    QCOMPARE(p.dialogs->shown().front().icon, MessageIcon::None);
    QVERIFY(!p.root->port().PortOpen());
    QVERIFY(p.root->form1().isVisible());
    QVERIFY(!p.results());
}

void EndToEndLink::silentInstrumentTimesOut() {
    SimulatorProcess sim(QStringLiteral("px80"), {QStringLiteral("--silent")});
    QVERIFY(sim.started());
    sim.becomePort(1);
    RealProgram p(px80Profile());
    p.root->start();
    p.root->form1().Measure()->click();

    QElapsedTimer clock;
    clock.start();
    p.root->link().SendCommand(QStringLiteral("*idn?"));
    const Reply read = p.root->link().ReadReply();
    const qint64 took = clock.elapsed();
    // elapsed() truncates to whole milliseconds: a read of 10.0004 s shows as 10000.
    QVERIFY2(took >= 10000 && took < 10500, qPrintable(QString::number(took)));
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    QVERIFY(p.dialogs->shown().front().text.startsWith(QStringLiteral("PX80 not responding\r")));
    QVERIFY(read.timedOut);
}

void EndToEndLink::lostLineIsReportedAndConnectWorksAgain() {
    // The simulator closes the line after the third command, as a pulled adapter does,
    // and brings it back a moment later.
    SimulatorProcess sim(QStringLiteral("lr40"),
                         {QStringLiteral("--close-after"), QStringLiteral("3"),
                          QStringLiteral("--reopen-after-ms"), QStringLiteral("300")});
    QVERIFY(sim.started());
    sim.becomePort(1);
    RealProgram p(lr40Profile());
    p.root->start();
    p.root->form1().Measure()->click();
    QVERIFY(sim.waitForCommands(3));

    // The line is gone: the read fails with a description instead of spinning or hanging.
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(Failure, [&] {
        p.root->link().SendCommand(QStringLiteral("*IDN?"));
        p.root->link().ReadReply();
    }());
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY(!p.root->port().PortOpen());

    // Back at the connection window, the next connect works once the line is back.
    QVERIFY(sim.waitForReopen());
    p.root->frmMeasure().cmdExit()->click();
    p.root->form1().Measure()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QVERIFY(p.root->port().PortOpen());
    p.root->instrument().identify(p.root->link(), p.root->module1().Identity);
    QCOMPARE(p.root->module1().Identity.Model, QStringLiteral("Model LR41"));
}

QTEST_MAIN(EndToEndLink)
#include "test_e2e_link.moc"
