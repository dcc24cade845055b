// SPDX-License-Identifier: GPL-3.0-or-later
// Replies that arrive oddly, end to end for both programs on the real serial layer against
// the simulator: in pieces with gaps, two in one poll, after bytes left over from earlier or
// after their read gave up (discarded before the next query), and without their line feed
// within the time limit (part of a line, a line whose rest comes late, or a megabyte or a
// flood, too long to keep). The readers join, keep or give up as the reading rules say;
// nothing ends the program, nothing waits beyond the limit, and the log holds every result
// shown.
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
#include <QRegularExpression>
#include <QtTest>

namespace {
QString dialectOf(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("lr40") : QStringLiteral("px80");
}

QString measurementCommand(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("MEAS:*WAIT:FETC?")
                                            : QStringLiteral("Fetch?");
}

// The model as each program cuts it from the simulator's identification line.
QString defaultModel(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("Model LR41")
                                            : QStringLiteral(" PX80");
}

// The simulator's own result for its default component: a capacitance with its loss factor.
void verifyOrdinaryResult(const QStringList& shown) {
    static const QRegularExpression value(QStringLiteral("^-?[0-9]\\.[0-9]{5}E[+-][0-9]{2}$"));
    QCOMPARE(shown.size(), 6);
    QCOMPARE(shown.at(0), QStringLiteral("Cs"));
    QVERIFY2(value.match(shown.at(1)).hasMatch(), qPrintable(shown.at(1)));
    QCOMPARE(shown.at(2), QStringLiteral("F"));
    QCOMPARE(shown.at(3), QStringLiteral("DF"));
    QVERIFY2(value.match(shown.at(4)).hasMatch(), qPrintable(shown.at(4)));
    QCOMPARE(shown.at(5), QString());
}

// Connected, logging into the simulator's folder.
struct LoggingSession {
    LoggingSession(const QString& variant, const QStringList& options)
        : sim(dialectOf(variant), options), program(variantNamed(variant)) {
        sim.becomePort(1);
        program.connect();
        path = sim.tempPath(QStringLiteral("results.csv"));
        program.startLogging(path);
    }
    FrmMeasure& window() const { return *program.results(); }

    SimulatorProcess sim;
    RealProgram program;
    QString path;
};
} // namespace

class ReplyFraming : public QObject {
    Q_OBJECT
private slots:
    void arrivesWhole_data();
    void arrivesWhole();
    void twoRepliesInOnePoll_data();
    void twoRepliesInOnePoll();
    void leftOverFromEarlierCommand_data();
    void leftOverFromEarlierCommand();
    void lateReplyThenMeasurement_data();
    void lateReplyThenMeasurement();
    void noLineFeedWithinLimit_data();
    void noLineFeedWithinLimit();
    void identificationCutShort_data();
    void identificationCutShort();
};

void ReplyFraming::arrivesWhole_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("options");
    const QStringList pieces = {QStringLiteral("--split"), QStringLiteral("3"),
                                QStringLiteral("--gap-ms"), QStringLiteral("40")};
    // Bytes already on the line when the program starts are taken and dropped with the
    // start-up port when the connect sequence reopens it (PX80 also empties the buffer).
    const QStringList waiting = {QStringLiteral("--leftover"), QStringLiteral("stale\\r\\n12")};
    QTest::newRow("LR40 in pieces with gaps") << "LR40" << pieces;
    QTest::newRow("PX80 in pieces with gaps") << "PX80" << pieces;
    QTest::newRow("LR40 bytes waiting at start-up") << "LR40" << waiting;
    QTest::newRow("PX80 bytes waiting at start-up") << "PX80" << waiting;
}

void ReplyFraming::arrivesWhole() {
    QFETCH(QString, variant);
    QFETCH(QStringList, options);

    SimulatorProcess sim(dialectOf(variant), options);
    QVERIFY(sim.started());
    sim.becomePort(1);
    RealProgram p(variantNamed(variant));
    p.root->start();
    QTest::qWait(200); // the operator looks at the connection window
    p.root->form1().Measure()->click();
    FrmMeasure* w = p.results();
    QVERIFY(w);
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);

    w->Config()->click();
    QCOMPARE(p.root->module1().Identity.Maker, QStringLiteral("Marovex"));
    QCOMPARE(p.root->existingConfigure()->Unit()->text(), defaultModel(variant));
    w->Start()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QCOMPARE(w->statusBox()->text(), QStringLiteral("Complete"));
    verifyOrdinaryResult(shownResult(*w));
    const QStringList lines = logFileLines(path);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(1), QStringLiteral("Configuration Changed"));
    QCOMPARE(lines.at(2), shownResult(*w).join(QLatin1Char(',')));
}

void ReplyFraming::twoRepliesInOnePoll_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("replies");
    QTest::addColumn<QStringList>("shown");

    // LR40 joins the lines into one list of fields and shows the first reply's.
    QTest::newRow("LR40") << "LR40"
                          << "1\\tRs\\t1.00000E+02\\tOhm\\t0\\t3\\tXs\\t2.00000E+01\\tOhm\\r\\n"
                             "1\\tRs\\t3.00000E+02\\tOhm\\t0\\t3\\tXs\\t4.00000E+01\\tOhm\\r\\n"
                          << QStringList{"Rs", "1.00000E+02", "Ohm", "Xs", "2.00000E+01", "Ohm"};
    // PX80's plain split leaves the second reply's first field in Sunit, line end removed.
    QTest::newRow("PX80") << "PX80"
                          << "Rs\\t1.00000E+02\\tOhm\\tXs\\t2.00000E+01\\tOhm\\r\\n"
                             "Rs\\t3.00000E+02\\tOhm\\tXs\\t4.00000E+01\\tOhm\\r\\n"
                          << QStringList{"Rs", "1.00000E+02", "Ohm", "Xs", "2.00000E+01", "OhmRs"};
}

void ReplyFraming::twoRepliesInOnePoll() {
    QFETCH(QString, variant);
    QFETCH(QString, replies);
    QFETCH(QStringList, shown);

    LoggingSession s(variant, {QStringLiteral("--answer"),
                               measurementCommand(variant) + QLatin1Char('=') + replies});
    QVERIFY(s.sim.started());
    FrmMeasure& w = s.window();
    w.Start()->click();
    QCOMPARE(s.program.dialogs->texts(), QStringList());
    QCOMPARE(shownResult(w), shown);
    QCOMPARE(logFileLines(s.path).last(), shown.join(QLatin1Char(',')));

    // Both replies were taken: the next read gets the identification line, not a result.
    w.Config()->click();
    QCOMPARE(s.program.root->module1().Identity.Maker, QStringLiteral("Marovex"));
    QCOMPARE(s.program.root->existingConfigure()->Unit()->text(), defaultModel(variant));
    QCOMPARE(s.program.dialogs->texts(), QStringList());
}

void ReplyFraming::leftOverFromEarlierCommand_data() {
    QTest::addColumn<QString>("variant");
    QTest::newRow("LR40") << "LR40";
    QTest::newRow("PX80") << "PX80";
}

void ReplyFraming::leftOverFromEarlierCommand() {
    QFETCH(QString, variant);

    // The instrument answers the lock command, which nobody reads.
    LoggingSession s(variant, {QStringLiteral("--answer"), QStringLiteral("Syst:lock on=stale")});
    QVERIFY(s.sim.started());
    FrmMeasure& w = s.window();
    const int received = static_cast<int>(s.sim.commands().size());
    w.Lockout()->click();
    QVERIFY(s.sim.waitForCommands(received + 1));
    QTest::qWait(100); // the answer is on its way back

    // The left-over bytes are discarded before the query: the identification is its own.
    w.Config()->click();
    QCOMPARE(s.program.root->module1().Identity.Maker, QStringLiteral("Marovex"));
    QCOMPARE(s.program.root->existingConfigure()->Unit()->text(), defaultModel(variant));
    QVERIFY(s.program.root->link().discardedBytes() > 0);
    w.Start()->click();
    QCOMPARE(s.program.dialogs->texts(), QStringList());
    verifyOrdinaryResult(shownResult(w));
    QCOMPARE(logFileLines(s.path).last(), shownResult(w).join(QLatin1Char(',')));
}

void ReplyFraming::lateReplyThenMeasurement_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("options");
    // The late reply is the identification of Config, answered OK at once and followed by
    // a measurement two seconds later; else it is the status reply of the measurement itself,
    // whose message the operator reads for two seconds.
    QTest::addColumn<bool>("identification");

    const QStringList lateIdentification{QStringLiteral("--delay-for"),
                                         QStringLiteral("*IDN?=10500")};
    QTest::newRow("LR40 identification after 10.5 s") << "LR40" << lateIdentification << true;
    QTest::newRow("PX80 identification after 10.5 s") << "PX80" << lateIdentification << true;
    QTest::newRow("PX80 *STB? after 10.5 s")
        << "PX80" << QStringList{QStringLiteral("--delay-for"), QStringLiteral("*STB?=10500")}
        << false;
}

void ReplyFraming::lateReplyThenMeasurement() {
    QFETCH(QString, variant);
    QFETCH(QStringList, options);
    QFETCH(bool, identification);

    LoggingSession s(variant, options);
    QVERIFY(s.sim.started());
    FrmMeasure& w = s.window();
    const InstrumentLink& link = s.program.root->link();
    if (identification) {
        w.Config()->click();
        QCOMPARE(s.program.root->existingConfigure()->Unit()->text(), QString());
        QTest::qWait(2000); // the late line comes meanwhile
    } else {
        s.program.dialogs->onMessage([](const ScriptedDialogs::Shown&) { QTest::qWait(2000); });
    }

    // The late line is discarded before the measurement's query: the result is its own.
    w.Start()->click();
    QCOMPARE(
        s.program.dialogs->texts(),
        QStringList{identification ? link.longNotRespondingText() : link.shortNotRespondingText()});
    QCOMPARE(w.statusBox()->text(), QStringLiteral("Complete"));
    verifyOrdinaryResult(shownResult(w));
    QCOMPARE(logFileLines(s.path).last(), shownResult(w).join(QLatin1Char(',')));
    QVERIFY(link.discardedBytes() > 0);
}

void ReplyFraming::noLineFeedWithinLimit_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("firstField"); // how the box of the reply's first field begins
    // The fault hits the first reply only, and the rest of its line comes 12 s after the
    // command; else every reply to the command has it.
    QTest::addColumn<bool>("restComesLate");

    const auto answer = [](const QString& variant, const QString& text) {
        return QStringList{QStringLiteral("--answer"),
                           measurementCommand(variant) + QLatin1Char('=') + text};
    };
    const auto ofSize = [](const QString& variant, const char* bytes) {
        return QStringList{QStringLiteral("--answer-size"),
                           measurementCommand(variant) + QLatin1Char('=') + bytes};
    };
    const auto stalled = [](const QString& variant, int bytes) {
        return QStringList{QStringLiteral("--stall-first"),
                           measurementCommand(variant) + QStringLiteral("=%1:12000").arg(bytes)};
    };
    const QString failure =
        QStringLiteral("Error occurred: The instrument's reply has %1 fields where %2 are needed");
    // A reply past the limit is read on to the time limit and dropped: no box is written.
    const QString tooLong = QStringLiteral(
        "Error occurred: The instrument's reply was longer than 65536 characters and was dropped");

    QTest::newRow("LR40 part of a line")
        << "LR40" << answer("LR40", "1\\tCs\\t1.0") << failure.arg(3).arg(9) << "1" << false;
    QTest::newRow("PX80 part of a line")
        << "PX80" << answer("PX80", "Cs\\t1.0") << failure.arg(2).arg(6) << "Cs" << false;
    // "1\tCs\t1.000" and "Cs\t1.00" at once.
    QTest::newRow("LR40 line end after the limit")
        << "LR40" << stalled("LR40", 10) << failure.arg(3).arg(9) << "1" << true;
    QTest::newRow("PX80 line end after the limit")
        << "PX80" << stalled("PX80", 7) << failure.arg(2).arg(6) << "Cs" << true;
    QTest::newRow("LR40 a megabyte")
        << "LR40" << ofSize("LR40", "1048576") << tooLong << "" << false;
    QTest::newRow("PX80 a megabyte")
        << "PX80" << ofSize("PX80", "1048576") << tooLong << "" << false;
    // Over 300 times the most a reply may hold; lcrsim sends it in well under a second (100 MB
    // in about two), far within the read's limit, so the line is quiet afterwards.
    QTest::newRow("LR40 a flood of 20 MB")
        << "LR40" << ofSize("LR40", "20000000") << tooLong << "" << false;
}

void ReplyFraming::noLineFeedWithinLimit() {
    QFETCH(QString, variant);
    QFETCH(QStringList, options);
    QFETCH(QString, failure);
    QFETCH(QString, firstField);
    QFETCH(bool, restComesLate);

    LoggingSession s(variant, options);
    QVERIFY(s.sim.started());
    FrmMeasure& w = s.window();
    QElapsedTimer clock;
    clock.start();
    w.Start()->click();
    const qint64 took = clock.elapsed();
    // The read gives up at its limit with what it has, without the not-responding message.
    QVERIFY2(took >= 10000 && took < 20000, qPrintable(QString::number(took)));
    QCOMPARE(s.program.dialogs->texts(), QStringList{failure});
    QCOMPARE(s.program.dialogs->shown().front().title, QStringLiteral("frmMeasure -> Start_Click"));
    QLineEdit* firstBox = variant == QLatin1String("LR40") ? w.testNumberBox() : w.Ppar();
    QVERIFY(firstBox->text().startsWith(firstField));
    QCOMPARE(w.statusBox()->text(), QStringLiteral("Measuring"));
    QCOMPARE(enabledButtons(w), QStringList{"stopbutton"});
    QCOMPARE(logFileLines(s.path).size(), 1); // no result was shown whole

    // The program goes on.
    w.stopbutton()->click();
    QCOMPARE(enabledButtons(w), idleButtons(true));
    if (restComesLate) {
        // Once the rest has come, the next measurement discards it and shows its own result.
        const qint64 discarded = s.program.root->link().discardedBytes();
        QTest::qWait(4000);
        w.Start()->click();
        QCOMPARE(w.statusBox()->text(), QStringLiteral("Complete"));
        verifyOrdinaryResult(shownResult(w));
        QVERIFY(s.program.root->link().discardedBytes() > discarded);
    } else {
        // Every measurement would fail alike; the identification shows that the line works.
        w.Config()->click();
        QCOMPARE(s.program.root->module1().Identity.Maker, QStringLiteral("Marovex"));
        QCOMPARE(s.program.root->existingConfigure()->Unit()->text(), defaultModel(variant));
    }
    w.StopLog()->click();
    const QStringList lines = logFileLines(s.path);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(1), restComesLate ? shownResult(w).join(QLatin1Char(','))
                                        : QStringLiteral("Configuration Changed"));
    QVERIFY2(lines.last().startsWith(QStringLiteral("Stop Log ,")), qPrintable(lines.last()));
    QCOMPARE(s.program.dialogs->shown().size(), std::size_t(1));
}

void ReplyFraming::identificationCutShort_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("reply"); // without its line feed
    QTest::addColumn<QString>("model"); // in the configuration window afterwards
    // Too short to split: the identity stays as it was (nothing yet).
    QTest::newRow("LR40 two commas") << "LR40"
                                     << "Marovex, Model LR42, 0123"
                                     << "";
    // Three commas: split as usual.
    QTest::newRow("PX80 three commas") << "PX80"
                                       << "Marovex, PX80, 0123, 2."
                                       << " PX80";
}

void ReplyFraming::identificationCutShort() {
    QFETCH(QString, variant);
    QFETCH(QString, reply);
    QFETCH(QString, model);

    LoggingSession s(variant, {QStringLiteral("--answer"), QStringLiteral("*IDN?=") + reply});
    QVERIFY(s.sim.started());
    FrmMeasure& w = s.window();
    QElapsedTimer clock;
    clock.start();
    w.Config()->click();
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 10000 && took < 20000, qPrintable(QString::number(took)));
    // Part of a line is no silence: no message, and the window opens.
    QCOMPARE(s.program.dialogs->texts(), QStringList());
    QVERIFY(s.program.root->existingConfigure()->isVisible());
    QCOMPARE(s.program.root->existingConfigure()->Unit()->text(), model);
    QCOMPARE(logFileLines(s.path).last(), QStringLiteral("Configuration Changed"));
    QCOMPARE(enabledButtons(w),
             (QStringList{"Start", "stopbutton", "cmdExit", "Config", "Lockout", "StopLog"}));
}

QTEST_MAIN(ReplyFraming)
#include "test_fault_reply_framing.moc"
