// SPDX-License-Identifier: GPL-3.0-or-later
// The command channel's readers: joining pieces, leftovers, time limits on a virtual
// clock, and both not-responding messages with both answers.
#include "app/Form1.h"
#include "link/InstrumentLink.h"
#include "measure/FrmMeasure.h"
#include "support/TestProgram.h"
#include "sweepview/SweepView.h"
#include "values/Failure.h"
#include "values/ProgramEnding.h"

#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {
const char* const kLongLr40 = "LR40 not responding\r"
                              "Make sure LR40 is turned on and RS232 cable is connected\r"
                              "Make sure LR40 is not in program or utilities menu\r"
                              "In Utilities check Baud Rate and set Trigger Source to External";

struct Arrival {
    double after;
    QByteArray bytes;
};
} // namespace
Q_DECLARE_METATYPE(QList<double>)

class ReplyReaders : public QObject {
    Q_OBJECT
private slots:
    void joinsWhatArrives_data();
    void joinsWhatArrives();
    void silentInstrumentAsksOnce_data();
    void silentInstrumentAsksOnce();
    void cancelEndsTheProgram_data();
    void cancelEndsTheProgram();
    void settledReadPausesWithoutEvents();
    void closedPortFailsTheRead();
};

void ReplyReaders::joinsWhatArrives_data() {
    QTest::addColumn<bool>("settled");
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QByteArray>("leftInPort");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");

    // times are seconds after the read starts; a negative time means "already waiting".
    QTest::newRow("one line") << false << QList<double>{0.5} << QByteArrayList{"1.05\r\n"}
                              << "1.05\r\n"
                              << QByteArray() << 0.5 << 0.52;
    QTest::newRow("pieces with gaps")
        << false << QList<double>{0.1, 2.0, 4.0} << QByteArrayList{"Mar", "ovex, Mo", "del\n"}
        << "Marovex, Model\n"
        << QByteArray() << 4.0 << 4.02;
    QTest::newRow("two replies in one poll")
        << false << QList<double>{0.3} << QByteArrayList{"A\r\nB\r\n"} << "A\r\nB\r\n"
        << QByteArray() << 0.3 << 0.32;
    QTest::newRow("leftover starts the reply")
        << false << QList<double>{-1.0, 1.0} << QByteArrayList{"old\r\n", "new\r\n"} << "old\r\n"
        << QByteArray("new\r\n") << 0.0 << 0.01;
    QTest::newRow("carriage return stays")
        << false << QList<double>{0.05} << QByteArrayList{"x\r\r\n"} << "x\r\r\n"
        << QByteArray() << 0.05 << 0.07;
    QTest::newRow("part of a line, no line feed: no message")
        << false << QList<double>{1.0} << QByteArrayList{"partial"} << "partial" << QByteArray()
        << 10.0 << 10.02;
    QTest::newRow("settled joins pieces within the pause")
        << true << QList<double>{0.5, 0.6} << QByteArrayList{"1\tCs\t", "1.0E-09\r\n"}
        << "1\tCs\t1.0E-09\r\n"
        << QByteArray() << 0.7 << 0.73;
    QTest::newRow("settled: the pause counts against the limit")
        << true << QList<double>{9.95} << QByteArrayList{"no end"} << "no end" << QByteArray()
        << 10.15 << 10.18;
    QTest::newRow("settled keeps reading after the pause")
        << true << QList<double>{1.0, 3.0} << QByteArrayList{"first", " second\n"}
        << "first second\n"
        << QByteArray() << 3.0 << 3.02;
}

void ReplyReaders::joinsWhatArrives() {
    QFETCH(bool, settled);
    QFETCH(QList<double>, times);
    QFETCH(QByteArrayList, pieces);
    QFETCH(QString, reply);
    QFETCH(QByteArray, leftInPort);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);

    TestProgram p(lr40Profile());
    p.connect();
    const double start = p.timing->now();
    for (int i = 0; i < times.size(); ++i)
        p.port->arrive(pieces.at(i), times.at(i) < 0 ? start - 1.0 : start + times.at(i));

    const Reply read = settled ? p.root->link().ReadReplySettled() : p.root->link().ReadReply();

    QCOMPARE(read.text, reply);
    QCOMPARE(read.timedOut, false);
    QCOMPARE(p.dialogs->shown().size(), std::size_t(0));
    QCOMPARE(p.port->pendingInput(), leftInPort);
    const double took = p.timing->now() - start;
    QVERIFY2(took >= minSeconds - 1e-6 && took <= maxSeconds + 0.03,
             qPrintable(QString::number(took)));
}

void ReplyReaders::silentInstrumentAsksOnce_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("settled");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("afterSeconds");

    QTest::newRow("LR40 long") << "LR40" << false << kLongLr40 << 10.0;
    QTest::newRow("PX80 long") << "PX80" << false << QString(kLongLr40).replace("LR40", "PX80")
                               << 10.0;
    QTest::newRow("LR40 short") << "LR40" << true << "LR40 not responding" << 10.2;
    QTest::newRow("PX80 short") << "PX80" << true << "PX80 not responding" << 10.2;
}

void ReplyReaders::silentInstrumentAsksOnce() {
    QFETCH(QString, variant);
    QFETCH(bool, settled);
    QFETCH(QString, message);
    QFETCH(double, afterSeconds);

    TestProgram p(variantNamed(variant));
    p.connect();
    double shownAt = 0;
    p.dialogs->onMessage([&](const ScriptedDialogs::Shown&) { shownAt = p.timing->now(); });
    const double start = p.timing->now();

    const Reply read = settled ? p.root->link().ReadReplySettled() : p.root->link().ReadReply();

    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& box = p.dialogs->shown().front();
    QCOMPARE(box.text, message);
    QCOMPARE(box.buttons, MessageButtons::OkCancel);
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.title, p.root->variant().applicationTitle);
    QVERIFY(shownAt - start > afterSeconds);
    QVERIFY(shownAt - start < afterSeconds + 0.06);
    QCOMPARE(read.text, QString());
    QCOMPARE(read.timedOut, true);
    QVERIFY(!p.root->ended());

    // The next read starts afresh.
    p.port->arrive("ok\n", p.timing->now());
    QCOMPARE(p.root->link().ReadReply().timedOut, false);
}

void ReplyReaders::cancelEndsTheProgram_data() {
    QTest::addColumn<bool>("settled");
    QTest::newRow("long message") << false;
    QTest::newRow("short message") << true;
}

void ReplyReaders::cancelEndsTheProgram() {
    QFETCH(bool, settled);
    TestProgram p(lr40Profile());
    p.connect();
    p.root->frmMeasure().cmdPlot()->click();
    const QPointer<SweepView> view = p.root->frmMeasure().sweepView();
    p.dialogs->queueAnswer(MessageAnswer::Cancel);
    bool ended = false;
    QObject::connect(p.root.get(), &ProgramRoot::programEnded, [&] { ended = true; });

    bool unwound = false;
    try {
        settled ? p.root->link().ReadReplySettled() : p.root->link().ReadReply();
    } catch (const ProgramEnding&) {
        unwound = true;
    }
    QVERIFY2(unwound, "no code of the interrupted operation may run on");
    QVERIFY(ended);
    QVERIFY(p.root->ended());
    QVERIFY(!p.port->PortOpen());
    QVERIFY(!p.root->resultLog().isOpen());
    QVERIFY(p.root->existingFrmMeasure() == nullptr);
    QVERIFY(!view || !view->isVisible());
    QVERIFY(!p.root->form1().isVisible());
}

void ReplyReaders::settledReadPausesWithoutEvents() {
    TestProgram p(px80Profile());
    p.connect();
    p.port->arrive("0\r\n", p.timing->now() + 0.1);
    const int pumpsBefore = p.timing->pumps();
    const Reply read = p.root->link().ReadReplySettled();
    QCOMPARE(p.timing->totalSleptMs(), 200);
    // Pumps run before the pause (until the first character) and once after it.
    QVERIFY(p.timing->pumps() - pumpsBefore >= 2);
    QCOMPARE(read.text, QStringLiteral("0\r\n"));
}

void ReplyReaders::closedPortFailsTheRead() {
    TestProgram p(lr40Profile());
    p.connect();
    p.root->port().setPortOpen(false);
    QVERIFY_THROWS_EXCEPTION(Failure, p.root->link().ReadReply());
    QVERIFY_THROWS_EXCEPTION(Failure, p.root->link().SendCommand(QStringLiteral("*IDN?")));
    QCOMPARE(p.dialogs->shown().size(), std::size_t(0));
}

QTEST_MAIN(ReplyReaders)
#include "test_reply_readers.moc"
