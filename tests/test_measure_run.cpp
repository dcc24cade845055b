// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement run on the fake port with a virtual clock.
#include "app/Form1.h"
#include "config/Configure.h"
#include "config/SweepSettingFrame.h"
#include "measure/FrmMeasure.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <algorithm>

namespace {
const QByteArray Lr40Reply = "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone\r\n";
const QByteArray Px80Reply = "Cs\t1.0E-9\tF\tD\t0.01\tnone\r\n";
const QList<int> DefaultLinear = {1000,  10900, 20800, 30700, 40600, 50500,
                                  60400, 70300, 80200, 90100, 100000};
const QList<int> DefaultLog = {1000,  1585,  2512,  3981,  6309, 9999,
                               15847, 25116, 39806, 63088, 99988};

// A connected program whose configuration window exists (LR40 sends a command when it
// is created), with an instrument that answers every measurement after 50 ms.
struct Bench {
    explicit Bench(const QString& variant) : p(variantNamed(variant)) {
        p.connect();
        p.root->configure();
        if (isLR40()) {
            p.port->answer("MEAS:*WAIT:FETC?", Lr40Reply, 0.05);
        } else {
            p.port->answer("*STB?", "0\r\n", 0.05);
            p.port->answer("Fetch?", Px80Reply, 0.05);
        }
        p.port->clearRecord();
        p.dialogs->clear();
        sleepsBefore = p.timing->sleeps().size();
        QObject::connect(window().statusBox(), &QLineEdit::textChanged,
                         [this](const QString& text) {
                             statuses << text;
                             if (text == pressStopAt)
                                 p.timing->at(p.timing->now(), [this] { press(); });
                         });
    }

    bool isLR40() const { return (p.root->variant().kind == VariantKind::LR40); }
    FrmMeasure& window() { return p.root->frmMeasure(); }
    Configure& configure() { return p.root->configure(); }

    void sweep(const QString& start, const QString& stop, const QString& steps, bool log) {
        configure().SingleorSweep()->setCurrentText(QStringLiteral("Sweep"));
        configure().StartFreq()->setText(start);
        configure().StopFreq()->setText(stop);
        configure().SweepSteps()->setText(steps);
        configure().logsweep()->setChecked(log);
    }

    // Update Test, then the sweep of one setting over another (sweep first chosen).
    void settingRun(const QString& swept, const QString& start, const QString& stop,
                    const QString& stepped = QStringLiteral("None"), const QString& values = {}) {
        p.root->module1().Identity.Model = QStringLiteral("Model LR42");
        configure().Update()->click();
        SweepSettingFrame* f = configure().fraSweepSetting();
        f->SweepParameter()->setCurrentText(swept);
        f->SweepStart()->setText(start);
        f->SweepStop()->setText(stop);
        f->StepParameter()->setCurrentText(stepped);
        f->StepValues()->setText(values);
        p.port->clearRecord();
    }

    QString sent(const QString& command) const {
        return command + (isLR40() ? QStringLiteral("\\r") : QStringLiteral("\\n"));
    }

    void failFetch() {
        p.port->stopAnswering("MEAS:*WAIT:FETC?");
        p.port->stopAnswering("Fetch?");
    }

    // Commands one point sends, with the terminators made visible.
    QStringList pointCommands(int frequency) const {
        QStringList c;
        if (frequency >= 0)
            c << QStringLiteral("conf:freq %1\\n").arg(frequency);
        if ((p.root->variant().kind == VariantKind::LR40))
            c << QStringLiteral("MEAS:*WAIT:FETC?\\r");
        else
            c << QStringLiteral("MEAS:\\n") << QStringLiteral("*STB?\\n")
              << QStringLiteral("Fetch?\\n");
        return c;
    }

    QStringList sweepCommands(const QList<int>& frequencies) const {
        QStringList c;
        for (int f : frequencies)
            c << pointCommands(f);
        return c;
    }

    int sleepsOf(int ms) const {
        const std::vector<int>& s = p.timing->sleeps();
        return static_cast<int>(
            std::count(s.begin() + static_cast<std::ptrdiff_t>(sleepsBefore), s.end(), ms));
    }

    QString enabling() {
        QString bits;
        for (const char* name :
             {"Start", "stopbutton", "cmdExit", "Config", "Lockout", "cmdLog", "StopLog"})
            bits += window().findChild<QPushButton*>(name)->isEnabled() ? '1' : '0';
        return bits;
    }

    QString lastTitle() const {
        return p.dialogs->shown().empty() ? QString() : p.dialogs->shown().back().title;
    }

    TestProgram p;
    std::size_t sleepsBefore = 0;
    QStringList statuses;
    QString pressStopAt; // the status text during whose point a button is pressed
    std::function<void()> press = [this] { window().stopbutton()->click(); };
};
} // namespace

class MeasureRunTest : public QObject {
    Q_OBJECT
private slots:
    void single_data();
    void single();
    void sweep_data();
    void sweep();
    void stopSeenAtTopOfNextPoint_data();
    void stopSeenAtTopOfNextPoint();
    void stopDuringLastPointCompletes_data();
    void stopDuringLastPointCompletes();
    void stopBeforeAnyRunIsClearedByTheNextRun();
    void timeOut_data();
    void timeOut();
    void px80SilentStatusReadIsNotExamined();
    void shortReply_data();
    void shortReply();
    void entryAndArithmeticFailures_data();
    void entryAndArithmeticFailures();
    void serialFailureDuringRun_data();
    void serialFailureDuringRun();
    void runInProgressAroundEveryRun();
    void startWhileStoppedRunFinishesWaits();
    void pressesWhileStoppedRunFinishesWait();
    void closeDuringRunStopsAndLeavesAfterwards();
    void singleAfterSweepSendsNoFrequency();
    void testFrequencyShown_data();
    void testFrequencyShown();
    void settingRun_data();
    void settingRun();
    void settingRunRestores_data();
    void settingRunRestores();
    void settingRunRefused_data();
    void settingRunRefused();
};

void MeasureRunTest::settingRun_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("run");      // swept, start, stop, steps, stepped, values
    QTest::addColumn<QStringList>("expected"); // "=x": the setting command x, "f": a point
    const QStringList fivePoints{"=0.1", "", "=0.2", "", "=0.3", "", "=0.4", "", "=0.5", ""};
    QTest::newRow("LR40 voltage") << "LR40" << QStringList{"Voltage", "0.1", "0.5", "4"}
                                  << fivePoints + QStringList{"=1"};
    QTest::newRow("PX80 voltage") << "PX80" << QStringList{"Voltage", "0.1", "0.5", "4"}
                                  << fivePoints + QStringList{"=1"};
    QTest::newRow("LR40 bias down") << "LR40" << QStringList{"Bias", "1.5", "0.05", "2"}
                                    << QStringList{"=1.5", "", "=0.775", "", "=0.05", "", "=Off"};
    QTest::newRow("LR40 frequency over bias")
        << "LR40" << QStringList{"Frequency", "", "", "1", "Bias", "0, 0.5,1"}
        << QStringList{"=0",    "f1000", "f1500", "=0.5",  "f1000",
                       "f1500", "=1",    "f1000", "f1500", "=Off"};
}

void MeasureRunTest::settingRun() {
    QFETCH(QString, variant);
    QFETCH(QStringList, run);
    QFETCH(QStringList, expected);
    Bench b(variant);
    b.sweep(QStringLiteral("1000"), QStringLiteral("1500"), run[3], false);
    b.settingRun(run[0], run[1], run[2], run.value(4, "None"), run.value(5));
    b.window().Start()->click();

    const QString keyword = run.contains("Bias") ? "conf:bias "
                            : b.isLR40()         ? "conf:applv "
                                                 : "conf:ACV ";
    QStringList commands;
    for (const QString& e : expected)
        commands << (e.startsWith('=') ? QStringList{b.sent(keyword + e.mid(1))}
                                       : b.pointCommands(e.isEmpty() ? -1 : e.mid(1).toInt()));
    QCOMPARE(b.p.port->commands(), commands);
    QCOMPARE(b.statuses.last(), QStringLiteral("Complete"));
    QVERIFY(b.p.dialogs->shown().empty());
}

void MeasureRunTest::settingRunRestores_data() {
    QTest::addColumn<bool>("silent");
    QTest::newRow("stopped") << false;
    QTest::newRow("silent, OK") << true;
}

void MeasureRunTest::settingRunRestores() {
    QFETCH(bool, silent);
    Bench b(QStringLiteral("LR40"));
    b.sweep(QStringLiteral("1000"), QStringLiteral("1500"), QStringLiteral("4"), false);
    b.settingRun(QStringLiteral("Voltage"), QStringLiteral("0.1"), QStringLiteral("0.5"));
    b.pressStopAt = QStringLiteral("Measuring 1");
    if (silent)
        b.failFetch();
    b.window().Start()->click();
    QStringList commands{b.sent("conf:applv 0.1")};
    commands << b.pointCommands(-1);
    if (!silent)
        commands << b.sent("conf:applv 0.2") << b.pointCommands(-1);
    QCOMPARE(b.p.port->commands(), commands << b.sent("conf:applv 1"));
}

void MeasureRunTest::settingRunRefused_data() {
    QTest::addColumn<QStringList>("run"); // swept, start, stop, log, primary, upload
    QTest::addColumn<QString>("message");
    QTest::newRow("no upload") << QStringList{"Voltage", "0.1", "1", "", "Auto", ""}
                               << "Update Test first: the sweep returns the instrument to the "
                                  "uploaded settings";
    QTest::newRow("DC primary") << QStringList{"Bias", "0", "1", "", "DCR", "up"}
                                << "A voltage or bias sweep needs an AC primary parameter";
    QTest::newRow("log from 0") << QStringList{"Bias", "0", "1", "log", "Auto", "up"}
                                << "A logarithmic sweep cannot start or stop at 0";
}

void MeasureRunTest::settingRunRefused() {
    QFETCH(QStringList, run);
    QFETCH(QString, message);
    Bench b(QStringLiteral("LR40"));
    b.sweep(QStringLiteral("1000"), QStringLiteral("1500"), QStringLiteral("4"), !run[3].isEmpty());
    b.configure().Ppar()->setCurrentText(run[4]);
    b.configure().Ppar_LostFocus();
    b.settingRun(run[0], run[1], run[2]);
    if (run[5].isEmpty())
        b.p.root->module1().UploadedTest.reset();
    b.p.dialogs->clear();
    b.window().Start()->click();
    QVERIFY(b.p.port->commands().isEmpty());
    QCOMPARE(b.p.dialogs->texts(), QStringList{"Error occurred: " + message});
}

void MeasureRunTest::single_data() {
    QTest::addColumn<QString>("variant");
    QTest::newRow("LR40") << "LR40";
    QTest::newRow("PX80") << "PX80";
}

void MeasureRunTest::single() {
    QFETCH(QString, variant);
    Bench b(variant);
    FrmMeasure& w = b.window();
    w.Start()->click();

    QCOMPARE(b.p.port->commands(), b.pointCommands(-1));
    QCOMPARE(b.statuses, (QStringList{"Measuring", "Complete"}));
    QCOMPARE(w.Ppar()->text(), QStringLiteral("Cs"));
    QCOMPARE(w.Pvalue()->text(), QStringLiteral("1.0E-9"));
    QCOMPARE(w.Punit()->text(), QStringLiteral("F"));
    QCOMPARE(w.Spar()->text(), QStringLiteral("D"));
    QCOMPARE(w.svalue()->text(), QStringLiteral("0.01"));
    QCOMPARE(w.Sunit()->text(), QStringLiteral("none")); // no line end shown
    if (b.isLR40()) {
        QCOMPARE(w.testNumberBox()->text(), QStringLiteral("1"));
        QCOMPARE(w.binBox()->text(), QStringLiteral("3"));
    }
    QCOMPARE(b.enabling(), QStringLiteral("1011110"));
    QCOMPARE(b.sleepsOf(100), b.isLR40() ? 0 : 1);
    QCOMPARE(b.sleepsOf(InstrumentLink::SettleMs), b.isLR40() ? 1 : 2);
    QVERIFY(b.p.dialogs->shown().empty());
}

void MeasureRunTest::sweep_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("log");
    QTest::addColumn<QList<int>>("frequencies");
    for (const char* variant : {"LR40", "PX80"}) {
        QTest::addRow("%s linear", variant) << variant << false << DefaultLinear;
        QTest::addRow("%s logarithmic", variant) << variant << true << DefaultLog;
    }
}

void MeasureRunTest::sweep() {
    QFETCH(QString, variant);
    QFETCH(bool, log);
    QFETCH(QList<int>, frequencies);
    Bench b(variant);
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), log);
    b.window().Start()->click();

    QCOMPARE(b.p.port->commands(), b.sweepCommands(frequencies));
    QStringList expectedStatus;
    for (int i = 0; i <= 10; ++i)
        expectedStatus << QStringLiteral("Measuring %1").arg(i);
    expectedStatus << QStringLiteral("Complete");
    QCOMPARE(b.statuses, expectedStatus);
    QCOMPARE(b.enabling(), QStringLiteral("1011110"));
    // One pause after each frequency command, another after PX80's trigger.
    QCOMPARE(b.sleepsOf(100), b.isLR40() ? 11 : 22);
    QVERIFY(b.p.dialogs->shown().empty());
}

void MeasureRunTest::stopSeenAtTopOfNextPoint_data() {
    single_data();
}

void MeasureRunTest::stopSeenAtTopOfNextPoint() {
    QFETCH(QString, variant);
    Bench b(variant);
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    b.pressStopAt = QStringLiteral("Measuring 3");
    FrmMeasure& w = b.window();
    w.Start()->click();

    // The point under way is finished; the next one is never begun.
    QCOMPARE(b.p.port->commands(), b.sweepCommands(DefaultLinear.mid(0, 4)));
    QCOMPARE(b.statuses.mid(3), (QStringList{"Measuring 3", "Stopped by User"}));
    QCOMPARE(w.Ppar()->text(), QStringLiteral("Cs"));
    QCOMPARE(b.enabling(), QStringLiteral("1011110"));
    QVERIFY(!w.StopRequested());
    QVERIFY(!b.p.root->runInProgress());
}

void MeasureRunTest::stopDuringLastPointCompletes_data() {
    single_data();
}

void MeasureRunTest::stopDuringLastPointCompletes() {
    QFETCH(QString, variant);
    Bench b(variant);
    b.sweep(QStringLiteral("1000"), QStringLiteral("1005"), QStringLiteral("2"), false);
    b.pressStopAt = QStringLiteral("Measuring 2");
    FrmMeasure& w = b.window();
    w.Start()->click();
    QCOMPARE(b.p.port->commands(), b.sweepCommands({1000, 1002, 1005}));
    QCOMPARE(b.statuses.last(), QStringLiteral("Complete"));
    QCOMPARE(b.enabling(), QStringLiteral("1011110"));
    // The unseen request stays until the next run clears it.
    QVERIFY(w.StopRequested());
    b.pressStopAt.clear();
    b.p.port->clearRecord();
    w.Start()->click();
    QCOMPARE(b.p.port->commands(), b.sweepCommands({1000, 1002, 1005}));
    QVERIFY(!w.StopRequested());
}

void MeasureRunTest::stopBeforeAnyRunIsClearedByTheNextRun() {
    Bench b(QStringLiteral("LR40"));
    FrmMeasure& w = b.window();
    w.stopbutton()->click();
    QVERIFY(w.StopRequested());
    QCOMPARE(b.enabling(), QStringLiteral("1011110"));
    QVERIFY(b.p.port->commands().isEmpty());
    QVERIFY(b.statuses.isEmpty());
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    w.Start()->click();
    QCOMPARE(b.p.port->commands(), b.sweepCommands(DefaultLinear));
}

void MeasureRunTest::timeOut_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("sweep");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("status");
    QTest::newRow("LR40 single") << "LR40" << false << 1 << "Measuring";
    QTest::newRow("LR40 sweep") << "LR40" << true << 1 << "Measuring 0";
    // The silent status read is reported, and then the silent fetch again.
    QTest::newRow("PX80 single") << "PX80" << false << 2 << "Measuring";
    QTest::newRow("PX80 sweep") << "PX80" << true << 2 << "Measuring 0";
}

void MeasureRunTest::timeOut() {
    QFETCH(QString, variant);
    QFETCH(bool, sweep);
    QFETCH(int, messages);
    Bench b(variant);
    if (sweep)
        b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    b.p.port->stopAnswering("*STB?");
    b.failFetch();
    FrmMeasure& w = b.window();
    w.Start()->click();

    QCOMPARE(int(b.p.dialogs->shown().size()), messages);
    for (const ScriptedDialogs::Shown& s : b.p.dialogs->shown()) {
        QCOMPARE(s.text, variant + QStringLiteral(" not responding"));
        QCOMPARE(s.buttons, MessageButtons::OkCancel);
    }
    QCOMPARE(b.p.port->commands(), b.pointCommands(sweep ? 1000 : -1));
    QTEST(w.statusBox()->text(), "status");
    QVERIFY(w.Ppar()->text().isEmpty());
    QCOMPARE(b.enabling(), QStringLiteral("0100000"));
    QVERIFY(!b.p.root->runInProgress());
    w.stopbutton()->click();
    QCOMPARE(b.enabling(), QStringLiteral("1011110"));
}

void MeasureRunTest::px80SilentStatusReadIsNotExamined() {
    Bench b(QStringLiteral("PX80"));
    b.p.port->stopAnswering("*STB?");
    FrmMeasure& w = b.window();
    w.Start()->click();
    QCOMPARE(b.p.dialogs->texts(), QStringList{"PX80 not responding"});
    QCOMPARE(w.statusBox()->text(), QStringLiteral("Complete"));
    QCOMPARE(w.Ppar()->text(), QStringLiteral("Cs"));
}

void MeasureRunTest::shortReply_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("boxes"); // Ppar Pvalue Punit Spar svalue Sunit after it
    QTest::addColumn<QString>("message");
    QTest::newRow("LR40") << "LR40" << QByteArray("7\tLs\t2.0E-3\tH\t0\r\n")
                          << QStringList{"Ls", "2.0E-3", "H", "D", "0.01", "none"}
                          << "Error occurred: The instrument's reply has 6 fields where 9 are "
                             "needed";
    QTest::newRow("PX80") << "PX80" << QByteArray("Ls\t2.0E-3\r\n")
                          << QStringList{"Ls", "2.0E-3", "F", "D", "0.01", "none"}
                          << "Error occurred: The instrument's reply has 2 fields where 6 are "
                             "needed";
}

void MeasureRunTest::shortReply() {
    QFETCH(QString, variant);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, boxes);
    Bench b(variant);
    FrmMeasure& w = b.window();
    w.Start()->click(); // a full result first, so the later boxes have texts to keep
    b.p.port->answer(b.isLR40() ? "MEAS:*WAIT:FETC?" : "Fetch?", reply, 0.05);
    w.Start()->click();

    const QStringList shown = {w.Ppar()->text(), w.Pvalue()->text(), w.Punit()->text(),
                               w.Spar()->text(), w.svalue()->text(), w.Sunit()->text()};
    QCOMPARE(shown, boxes);
    if (b.isLR40()) {
        QCOMPARE(w.testNumberBox()->text(), QStringLiteral("7"));
        QCOMPARE(w.binBox()->text(), QString()); // field 5 is the empty one after CR LF
    }
    QCOMPARE(b.p.dialogs->shown().size(), std::size_t{1});
    QTEST(b.p.dialogs->shown().front().text, "message");
    QCOMPARE(b.lastTitle(), QStringLiteral("frmMeasure -> Start_Click"));
    QCOMPARE(b.p.dialogs->shown().front().icon, MessageIcon::Exclamation);
    QCOMPARE(w.statusBox()->text(), QStringLiteral("Measuring"));
    QCOMPARE(b.enabling(), QStringLiteral("0100000"));
}

void MeasureRunTest::entryAndArithmeticFailures_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("log");
    QTest::addColumn<QList<int>>("measuredAt"); // -1: a single measurement
    QTest::addColumn<bool>("fails");

    for (const char* v : {"LR40", "PX80"}) {
        QTest::addRow("%s single with a start that is no number", v)
            << v << "Single Measurement"
            << "abc"
            << "100000"
            << "10" << false << QList<int>{} << true;
        QTest::addRow("%s single with good entries", v) << v << "Single Measurement"
                                                        << "1000"
                                                        << "100000"
                                                        << "10" << false << QList<int>{-1} << false;
        QTest::addRow("%s typed mode text runs a sweep", v)
            << v << "sweep"
            << "1000"
            << "3000"
            << "2" << false << QList<int>{1000, 2000, 3000} << false;
        QTest::addRow("%s suffixes", v) << v << "Sweep"
                                        << "10k"
                                        << "1.5M"
                                        << "1" << false << QList<int>{10000, 1500000} << false;
        QTest::addRow("%s zero steps linear", v) << v << "Sweep"
                                                 << "1000"
                                                 << "100000"
                                                 << "0" << false << QList<int>{} << true;
        QTest::addRow("%s zero steps logarithmic", v) << v << "Sweep"
                                                      << "1000"
                                                      << "100000"
                                                      << "0" << true << QList<int>{1000} << false;
        QTest::addRow("%s logarithmic from 0", v) << v << "Sweep"
                                                  << "0"
                                                  << "100000"
                                                  << "10" << true << QList<int>{0} << true;
        QTest::addRow("%s step count beyond 16 bits", v)
            << v << "Sweep"
            << "1000"
            << "100000"
            << "40000" << false << QList<int>{} << true;
        QTest::addRow("%s steps that are no number", v) << v << "Sweep"
                                                        << "1000"
                                                        << "100000"
                                                        << "ten" << false << QList<int>{} << true;
    }
}

void MeasureRunTest::entryAndArithmeticFailures() {
    QFETCH(QString, variant);
    QFETCH(QString, mode);
    QFETCH(bool, log);
    QFETCH(QList<int>, measuredAt);
    QFETCH(bool, fails);
    Bench b(variant);
    QFETCH(QString, start);
    QFETCH(QString, stop);
    QFETCH(QString, steps);
    b.sweep(start, stop, steps, log);
    b.configure().SingleorSweep()->setCurrentText(mode);
    b.window().Start()->click();

    QCOMPARE(b.p.port->commands(), b.sweepCommands(measuredAt));
    if (fails) {
        QCOMPARE(b.p.dialogs->shown().size(), std::size_t{1});
        QVERIFY(b.p.dialogs->shown().front().text.startsWith(QStringLiteral("Error occurred: ")));
        QCOMPARE(b.lastTitle(), QStringLiteral("frmMeasure -> Start_Click"));
        QCOMPARE(b.enabling(), QStringLiteral("0100000"));
    } else {
        QVERIFY(b.p.dialogs->shown().empty());
        QCOMPARE(b.window().statusBox()->text(), QStringLiteral("Complete"));
    }
    QVERIFY(!b.p.root->runInProgress());
}

void MeasureRunTest::serialFailureDuringRun_data() {
    single_data();
}

void MeasureRunTest::serialFailureDuringRun() {
    QFETCH(QString, variant);
    Bench b(variant);
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    b.p.port->loseLineAfterWrites(5);
    b.window().Start()->click();
    QCOMPARE(b.p.dialogs->texts(), QStringList{"Error occurred: The serial line was lost"});
    QCOMPARE(b.lastTitle(), QStringLiteral("frmMeasure -> Start_Click"));
    QCOMPARE(b.enabling(), QStringLiteral("0100000"));
    QVERIFY(!b.p.root->runInProgress());
}

void MeasureRunTest::runInProgressAroundEveryRun() {
    Bench b(QStringLiteral("PX80"));
    QList<bool> changes;
    QObject::connect(b.p.root.get(), &ProgramRoot::runInProgressChanged,
                     [&](bool running) { changes << running; });
    bool duringRun = false;
    b.p.timing->at(0, [&] { duringRun = b.p.root->runInProgress(); });
    b.window().Start()->click();
    QVERIFY(duringRun);
    b.failFetch();
    b.window().Start()->click();
    QCOMPARE(changes, (QList<bool>{true, false, true, false}));
}

void MeasureRunTest::startWhileStoppedRunFinishesWaits() {
    Bench b(QStringLiteral("LR40"));
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    b.pressStopAt = QStringLiteral("Measuring 2");
    b.press = [&b] {
        b.window().stopbutton()->click();
        b.window().Start()->click(); // enabled again by the stop, while point 2 is read
    };
    FrmMeasure& w = b.window();
    w.Start()->click();
    // The first run ended by itself; the second has not begun inside it.
    QCOMPARE(b.statuses.last(), QStringLiteral("Stopped by User"));
    QCOMPARE(b.p.port->commands(), b.sweepCommands(DefaultLinear.mid(0, 3)));
    b.pressStopAt.clear();
    QCoreApplication::processEvents();
    QCOMPARE(b.p.port->commands(),
             b.sweepCommands(DefaultLinear.mid(0, 3)) + b.sweepCommands(DefaultLinear));
    QCOMPARE(b.statuses.mid(3, 2), (QStringList{"Stopped by User", "Measuring 0"}));
    QCOMPARE(b.statuses.last(), QStringLiteral("Complete"));
}

void MeasureRunTest::pressesWhileStoppedRunFinishesWait() {
    Bench b(QStringLiteral("PX80"));
    b.p.port->answer("*idn?", "Marovex,PX80,54321,1.01\r\n", 0.05);
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    b.pressStopAt = QStringLiteral("Measuring 1");
    b.press = [&b] {
        b.window().stopbutton()->click();
        b.window().Lockout()->click();
        b.window().Config()->click();
    };
    b.window().Start()->click();
    QCOMPARE(b.p.port->commands(), b.sweepCommands(DefaultLinear.mid(0, 2)));
    QCoreApplication::processEvents();
    QCOMPARE(b.p.port->commands().mid(8), (QStringList{"Syst:lock on\\n", "*idn?\\n"}));
    QVERIFY(b.p.root->existingConfigure()->isVisible());
    QCOMPARE(b.window().Lockout()->text(), QStringLiteral("Locked Out"));
}

void MeasureRunTest::closeDuringRunStopsAndLeavesAfterwards() {
    Bench b(QStringLiteral("LR40"));
    b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
    QPointer<FrmMeasure> w = &b.window();
    b.pressStopAt = QStringLiteral("Measuring 2");
    bool aliveAfterClose = false;
    b.press = [&] {
        w->close();
        // Whatever the event loop deletes now must not be the running window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        aliveAfterClose = !w.isNull() && b.p.root->existingFrmMeasure() == w.data();
    };
    w->Start()->click();
    QVERIFY(aliveAfterClose);
    QCOMPARE(b.statuses.last(), QStringLiteral("Stopped by User"));
    QCOMPARE(b.p.port->commands(), b.sweepCommands(DefaultLinear.mid(0, 3)));
    // Once the run has ended the window has left.
    QVERIFY(!b.p.root->existingFrmMeasure());
    QVERIFY(b.p.root->form1().isVisible());
    QVERIFY(!b.p.root->runInProgress());
}

void MeasureRunTest::singleAfterSweepSendsNoFrequency() {
    Bench b(QStringLiteral("PX80"));
    b.sweep(QStringLiteral("1000"), QStringLiteral("3000"), QStringLiteral("2"), false);
    b.window().Start()->click();
    b.p.port->clearRecord();
    b.configure().SingleorSweep()->setCurrentText(QStringLiteral("Single Measurement"));
    b.window().Start()->click();
    QCOMPARE(b.p.port->commands(), b.pointCommands(-1));
}

void MeasureRunTest::testFrequencyShown_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("label");
    for (const char* v : {"LR40", "PX80"}) {
        QTest::addRow("%s before any", v) << v << QStringList() << "Test frequency: unknown";
        QTest::addRow("%s after an upload", v)
            << v << QStringList{"upload"} << "Test frequency: 1000 Hz";
        QTest::addRow("%s after a sweep", v)
            << v << QStringList{"upload", "sweep"} << "Test frequency: 100000 Hz";
        QTest::addRow("%s after a stopped sweep", v)
            << v << QStringList{"stopped sweep"} << "Test frequency: 30700 Hz";
        QTest::addRow("%s single after a sweep", v)
            << v << QStringList{"sweep", "single"} << "Test frequency: 100000 Hz";
        QTest::addRow("%s after a reconnect", v)
            << v << QStringList{"upload", "sweep", "reconnect"} << "Test frequency: unknown";
    }
}

void MeasureRunTest::testFrequencyShown() {
    QFETCH(QString, variant);
    QFETCH(QStringList, steps);
    Bench b(variant);
    for (const QString& step : steps) {
        if (step == QLatin1String("upload")) {
            b.configure().Update()->click();
        } else if (step == QLatin1String("reconnect")) {
            b.window().cmdExit()->click();
            b.p.root->form1().Measure()->click();
        } else {
            b.sweep(QStringLiteral("1000"), QStringLiteral("100000"), QStringLiteral("10"), false);
            if (step == QLatin1String("single"))
                b.configure().SingleorSweep()->setCurrentText(QStringLiteral("Single Measurement"));
            if (step == QLatin1String("stopped sweep"))
                b.pressStopAt = QStringLiteral("Measuring 3");
            b.window().Start()->click();
        }
    }
    QVERIFY(b.p.dialogs->shown().empty());
    QTEST(b.window().lblFrequency()->text(), "label");
}

QTEST_MAIN(MeasureRunTest)
#include "test_measure_run.moc"
