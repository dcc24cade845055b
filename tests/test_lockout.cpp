// SPDX-License-Identifier: GPL-3.0-or-later
// The front-panel lock: commands, caption, and the state kept by the program.
#include "app/Form1.h"
#include "measure/FrmMeasure.h"
#include "support/TestProgram.h"

#include <QPushButton>
#include <QtTest>

class LockoutTest : public QObject {
    Q_OBJECT
private slots:
    void sequence_data();
    void sequence();
    void failedLockChangesNothing_data();
    void failedLockChangesNothing();
};

// Steps: "press" the Lockout button, or "reopen" the measurement window (Exit, then
// Measure in the connection window).
void LockoutTest::sequence_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("captions"); // after each step
    QTest::addColumn<bool>("locked");

    for (const QString variant : {"LR40", "PX80"}) {
        const QString t = variant == "LR40" ? "\\r" : "\\n";
        QTest::addRow("%s two presses", qPrintable(variant))
            << variant << QStringList{"press", "press"}
            << QStringList{"Syst:lock on" + t, "Syst:lock off" + t}
            << QStringList{"Locked Out", "Not Locked Out"} << false;
        // The caption starts again with the window; the state lives on in the program.
        QTest::addRow("%s across a reopened window", qPrintable(variant))
            << variant << QStringList{"press", "reopen", "press", "press"}
            << QStringList{"Syst:lock on" + t, "Syst:lock off" + t, "Syst:lock on" + t}
            << QStringList{"Locked Out", "Not Locked Out", "Not Locked Out", "Locked Out"} << true;
        QTest::addRow("%s reopened while unlocked", qPrintable(variant))
            << variant << QStringList{"press", "press", "reopen", "press"}
            << QStringList{"Syst:lock on" + t, "Syst:lock off" + t, "Syst:lock on" + t}
            << QStringList{"Locked Out", "Not Locked Out", "Not Locked Out", "Locked Out"} << true;
    }
}

void LockoutTest::sequence() {
    QFETCH(QString, variant);
    QFETCH(QStringList, steps);
    TestProgram p(variantNamed(variant));
    p.connect();
    QStringList commands;
    QStringList captions;
    for (const QString& step : steps) {
        if (step == QLatin1String("press")) {
            p.root->frmMeasure().Lockout()->click();
        } else {
            p.root->frmMeasure().cmdExit()->click();
            commands << p.port->commands();
            p.root->form1().Measure()->click();
            p.port->clearRecord();
        }
        captions << p.root->frmMeasure().Lockout()->text();
    }
    commands << p.port->commands();
    QTEST(commands, "commands");
    QTEST(captions, "captions");
    QTEST(p.root->module1().PanelLocked, "locked");
    QVERIFY(p.dialogs->shown().empty());
}

void LockoutTest::failedLockChangesNothing_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("pressesBefore");
    QTest::addColumn<QString>("caption");
    for (const char* v : {"LR40", "PX80"}) {
        QTest::addRow("%s lock fails", v) << v << 0 << "Not Locked Out";
        QTest::addRow("%s unlock fails", v) << v << 1 << "Locked Out";
    }
}

void LockoutTest::failedLockChangesNothing() {
    QFETCH(QString, variant);
    QFETCH(int, pressesBefore);
    TestProgram p(variantNamed(variant));
    p.connect();
    FrmMeasure& w = p.root->frmMeasure();
    for (int i = 0; i < pressesBefore; ++i)
        w.Lockout()->click();
    const bool lockedBefore = p.root->module1().PanelLocked;
    p.port->loseLineAfterWrites(0);
    w.Lockout()->click();
    QCOMPARE(p.dialogs->texts(), QStringList{"Error occurred: The serial line was lost"});
    QCOMPARE(p.dialogs->shown().front().title, QStringLiteral("frmMeasure -> Lockout_Click"));
    QCOMPARE(p.dialogs->shown().front().icon, MessageIcon::Exclamation);
    QTEST(w.Lockout()->text(), "caption");
    QCOMPARE(p.root->module1().PanelLocked, lockedBefore);
    QVERIFY(w.Lockout()->isEnabled());
}

QTEST_MAIN(LockoutTest)
#include "test_lockout.moc"
