// SPDX-License-Identifier: GPL-3.0-or-later
// Result replies with bad fields, end to end for both programs: the simulator answers every
// measurement with the given bytes, on the real serial layer. A single measurement while
// logging shows what the decoding makes of them; a reply that runs short fails the run
// with a report, anything else is shown and logged exactly as shown. Either way the
// program goes on working and the log stays whole.
#include "measure/FrmMeasure.h"
#include "support/LogFileLines.h"
#include "support/RealProgram.h"
#include "support/SimulatorProcess.h"
#include "support/TestProgram.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class ReplyFields : public QObject {
    Q_OBJECT
private slots:
    void singleMeasurement_data();
    void singleMeasurement();
};

void ReplyFields::singleMeasurement_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("reply");     // as lcrsim --answer takes it (\t, \r, \n, \xHH)
    QTest::addColumn<QStringList>("shown"); // Ppar, Pvalue, Punit, Spar, svalue, Sunit
    QTest::addColumn<QString>("failure");   // empty: the result is shown and logged
    QTest::addColumn<QString>("logged");    // the log record, when there is one

    const QString none;
    const auto shortOf = [](int fields, int needed) {
        return QStringLiteral("Error occurred: The instrument's reply has %1 fields where %2 are "
                              "needed")
            .arg(fields)
            .arg(needed);
    };

    // LR40: the fields are test number, Ppar, Pvalue, Punit, status, bin, Spar, svalue,
    // Sunit; CR LF counts as a TAB and two adjacent TABs as one.
    QTest::newRow("LR40 too few fields")
        << "LR40"
        << "1\\tCs\\t1.00000E-07\\r\\n"
        << QStringList{"Cs", "1.00000E-07", "", "", "", ""} << shortOf(4, 9) << none;
    QTest::newRow("LR40 empty fields merge into too few")
        << "LR40"
        << "\\t\\t\\t\\t\\t\\t\\t\\t\\r\\n"
        << QStringList{"", "", "", "", "", ""} << shortOf(6, 9) << none;
    QTest::newRow("LR40 extra fields")
        << "LR40"
        << "1\\tRs\\t1.00000E+02\\tOhm\\t0\\t3\\tXs\\t2.00000E+01\\tOhm\\t7\\t8\\t9\\r\\n"
        << QStringList{"Rs", "1.00000E+02", "Ohm", "Xs", "2.00000E+01", "Ohm"} << none
        << "Rs,1.00000E+02,Ohm,Xs,2.00000E+01,Ohm";
    QTest::newRow("LR40 non-ASCII bytes")
        << "LR40"
        << "1\\tC\\xb5s\\t1.0E-07\\t\\xb5F\\t0\\t3\\tD\\xff\\t\\xe9\\t\\xa0Ohm\\r\\n"
        << QStringList{"C\u00b5s", "1.0E-07", "\u00b5F", "D\u00ff", "\u00e9", "\u00a0Ohm"} << none
        << "C\u00b5s,1.0E-07,\u00b5F,D\u00ff,\u00e9,\u00a0Ohm";
    QTest::newRow("LR40 control bytes")
        << "LR40"
        << "1\\tC\\x00s\\t1.0E-07\\x1b\\tF\\t0\\t3\\tDF\\t\\x7f1\\t\\x04\\r\\n"
        << QStringList{"Cs", "1.0E-07", "F", "DF", "1", ""} << none << "Cs,1.0E-07,F,DF,1,";
    QTest::newRow("LR40 comma and quote in fields")
        << "LR40"
        << "1\\tR,s\\t1.0\\t\"Ohm\"\\t0\\t3\\tXs\\t2.0\\tOhm\\r\\n"
        << QStringList{"R,s", "1.0", "\"Ohm\"", "Xs", "2.0", "Ohm"} << none
        << "\"R,s\",1.0,\"\"\"Ohm\"\"\",Xs,2.0,Ohm";

    // PX80: the fields are Ppar, Pvalue, Punit, Spar, svalue, Sunit, split at every TAB.
    QTest::newRow("PX80 too few fields")
        << "PX80"
        << "Cs\\t1.00000E-07\\r\\n"
        << QStringList{"Cs", "1.00000E-07", "", "", "", ""} << shortOf(2, 6) << none;
    QTest::newRow("PX80 empty fields") << "PX80"
                                       << "\\t\\t\\t\\t\\t\\r\\n"
                                       << QStringList{"", "", "", "", "", ""} << none << ",,,,,";
    QTest::newRow("PX80 extra fields")
        << "PX80"
        << "Rs\\t1.00000E+02\\tOhm\\tXs\\t2.00000E+01\\tOhm\\t7\\t8\\r\\n"
        << QStringList{"Rs", "1.00000E+02", "Ohm", "Xs", "2.00000E+01", "Ohm"} << none
        << "Rs,1.00000E+02,Ohm,Xs,2.00000E+01,Ohm";
    QTest::newRow("PX80 non-ASCII bytes")
        << "PX80"
        << "C\\xb5s\\t1.0E-07\\t\\xb5F\\tD\\xff\\t\\xe9\\t\\xa0Ohm\\r\\n"
        << QStringList{"C\u00b5s", "1.0E-07", "\u00b5F", "D\u00ff", "\u00e9", "\u00a0Ohm"} << none
        << "C\u00b5s,1.0E-07,\u00b5F,D\u00ff,\u00e9,\u00a0Ohm";
    QTest::newRow("PX80 control bytes")
        << "PX80"
        << "C\\x00s\\t1.0E-07\\x1b\\tF\\tDF\\t\\x7f1\\t\\x04\\r\\n"
        << QStringList{"Cs", "1.0E-07", "F", "DF", "1", ""} << none << "Cs,1.0E-07,F,DF,1,";
    QTest::newRow("PX80 comma and quote in fields")
        << "PX80"
        << "R,s\\t1.0\\t\"Ohm\"\\tXs\\t2.0\\tOhm\\r\\n"
        << QStringList{"R,s", "1.0", "\"Ohm\"", "Xs", "2.0", "Ohm"} << none
        << "\"R,s\",1.0,\"\"\"Ohm\"\"\",Xs,2.0,Ohm";
}

void ReplyFields::singleMeasurement() {
    QFETCH(QString, variant);
    QFETCH(QString, reply);
    QFETCH(QStringList, shown);
    QFETCH(QString, failure);
    QFETCH(QString, logged);
    const bool lr40 = variant == QLatin1String("LR40");

    const QString command = lr40 ? QStringLiteral("MEAS:*WAIT:FETC?") : QStringLiteral("Fetch?");
    SimulatorProcess sim(lr40 ? QStringLiteral("lr40") : QStringLiteral("px80"),
                         {QStringLiteral("--answer"), command + QLatin1Char('=') + reply});
    QVERIFY(sim.started());
    RealProgram p(variantNamed(variant));
    FrmMeasure* w = p.connectTo(sim);
    QVERIFY(w && w->isVisible());
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);

    w->Start()->click();
    QCOMPARE(shownResult(*w), shown);
    QStringList lines = logFileLines(path);
    if (failure.isEmpty()) {
        QCOMPARE(p.dialogs->texts(), QStringList());
        QCOMPARE(w->statusBox()->text(), QStringLiteral("Complete"));
        QCOMPARE(enabledButtons(*w), idleButtons(true));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.last(), logged);
    } else {
        QCOMPARE(p.dialogs->texts(), QStringList{failure});
        QCOMPARE(p.dialogs->shown().front().title, QStringLiteral("frmMeasure -> Start_Click"));
        QCOMPARE(p.dialogs->shown().front().icon, MessageIcon::Exclamation);
        QCOMPARE(w->statusBox()->text(), QStringLiteral("Measuring"));
        QCOMPARE(enabledButtons(*w), QStringList{"stopbutton"});
        QCOMPARE(lines.size(), 1); // a result not shown whole is not logged
        w->stopbutton()->click();
        QCOMPARE(enabledButtons(*w), idleButtons(true));
    }

    // The program goes on: the lock command goes out, and the log ends whole.
    const int received = static_cast<int>(sim.commands().size());
    w->Lockout()->click();
    QVERIFY(sim.waitForCommands(received + 1));
    QCOMPARE(sim.commands().last(), QStringLiteral("Syst:lock on") + (lr40 ? "\\r" : "\\n"));
    QCOMPARE(w->Lockout()->text(), QStringLiteral("Locked Out"));
    w->StopLog()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t(failure.isEmpty() ? 0 : 1));
    lines = logFileLines(path);
    QVERIFY2(lines.first().startsWith(QStringLiteral("Start Log ,")), qPrintable(lines.first()));
    QVERIFY2(lines.last().startsWith(QStringLiteral("Stop Log ,")), qPrintable(lines.last()));
    QCOMPARE(lines.size(), failure.isEmpty() ? 3 : 2);
}

QTEST_MAIN(ReplyFields)
#include "test_fault_reply_fields.moc"
