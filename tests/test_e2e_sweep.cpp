// SPDX-License-Identifier: GPL-3.0-or-later
// One sweep with logging, end to end: the real serial layer on a pseudo-terminal against
// the simulator, a real clock and scripted dialogs. Connect, open the configuration with
// Config, choose the sweep and upload it, start logging, sweep, stop logging; then check
// what the instrument received and the lines of the log file, the sweep view that Plot
// opens (before the logarithmic sweeps, after the others) and the test frequency shown.
#include "app/Form1.h"
#include "app/ProgramRoot.h"
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "support/LogFileLines.h"
#include "support/RealProgram.h"
#include "support/SimulatorProcess.h"
#include "support/TableRows.h"
#include "sweepview/SweepView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace {
QStringList pointCommands(bool lr40, int frequency) {
    if (lr40)
        return {QStringLiteral("conf:freq %1\\n").arg(frequency),
                QStringLiteral("MEAS:*WAIT:FETC?\\r")};
    return {QStringLiteral("conf:freq %1\\n").arg(frequency), QStringLiteral("MEAS:\\n"),
            QStringLiteral("*STB?\\n"), QStringLiteral("Fetch?\\n")};
}

QString toText(const QList<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QLatin1Char(' '));
}
} // namespace

class EndToEndSweep : public QObject {
    Q_OBJECT
private slots:
    void sweepWithLogging_data();
    void sweepWithLogging();
};

void EndToEndSweep::sweepWithLogging_data() {
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<int>("stopAfterMs"); // 0: no stop
    QTest::addColumn<QList<int>>("frequencies");

    const QList<int> linear = {1000,  10900, 20800, 30700, 40600, 50500,
                               60400, 70300, 80200, 90100, 100000};
    const QList<int> log = {1000, 1585, 2512, 3981, 6309, 9999, 15847, 25116, 39806, 63088, 99988};
    QTest::newRow("LR40 linear") << "lr40" << false << 0 << linear;
    QTest::newRow("LR40 logarithmic") << "lr40" << true << 0 << log;
    QTest::newRow("PX80 linear") << "px80" << false << 0 << linear;
    QTest::newRow("PX80 logarithmic") << "px80" << true << 0 << log;
    QTest::newRow("LR40 stopped") << "lr40" << false << 1000 << linear;
}

void EndToEndSweep::sweepWithLogging() {
    QFETCH(QString, dialect);
    QFETCH(bool, logarithmic);
    QFETCH(int, stopAfterMs);
    QFETCH(QList<int>, frequencies);
    const bool lr40 = dialect == QLatin1String("lr40");

    SimulatorProcess sim(dialect);
    QVERIFY(sim.started());
    sim.becomePort(1);
    RealProgram p(lr40 ? lr40Profile() : px80Profile());
    p.root->start();
    p.root->form1().Measure()->click();
    FrmMeasure* w = p.root->existingFrmMeasure();
    QVERIFY(w && w->isVisible());

    // Config: identification, model into Unit, the configuration window shown.
    w->Config()->click();
    Configure* configure = p.root->existingConfigure();
    QVERIFY(configure && configure->isVisible());
    QVERIFY(!configure->Unit()->text().isEmpty());
    configure->SingleorSweep()->setCurrentText(QStringLiteral("Sweep"));
    configure->logsweep()->setChecked(logarithmic);
    configure->StartFreq()->setText(QStringLiteral("1000"));
    configure->StopFreq()->setText(QStringLiteral("100000"));
    configure->SweepSteps()->setText(QStringLiteral("10"));
    configure->Update()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());

    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.dialogs->queueFile(path);
    w->cmdLog()->click();
    QVERIFY(w->bLog());
    QCOMPARE(w->windowTitle(), QStringLiteral("logging to file ") + path);

    QVERIFY(sim.waitForCommands(1));
    // Every command sent so far logged: the simulator's count holds still for a moment (on a
    // loaded machine its log may trail the program).
    int before = -1;
    while (before != static_cast<int>(sim.commands().size())) {
        before = static_cast<int>(sim.commands().size());
        QTest::qWait(300);
    }
    // A view opened before the run: its rows as each point begins.
    const bool viewFirst = logarithmic;
    if (viewFirst)
        w->cmdPlot()->click();
    QList<int> rowsSeen;
    QStringList statuses;
    connect(w->statusBox(), &QLineEdit::textChanged, this, [&](const QString& text) {
        statuses << text;
        if (viewFirst)
            rowsSeen << w->sweepView()->table()->model()->rowCount();
    });
    if (stopAfterMs > 0)
        QTimer::singleShot(stopAfterMs, w, [w] { w->stopbutton()->click(); });
    w->Start()->click();
    w->StopLog()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());

    // The points measured: all of them, or up to the one under way when Stop was pressed.
    const int measured = stopAfterMs > 0 ? static_cast<int>(statuses.size()) - 1
                                         : static_cast<int>(frequencies.size());
    if (stopAfterMs > 0) {
        QCOMPARE(statuses.last(), QStringLiteral("Stopped by User"));
        QVERIFY(measured >= 1 && measured < frequencies.size());
    } else {
        QCOMPARE(statuses.last(), QStringLiteral("Complete"));
    }

    QStringList expected;
    for (int i = 0; i < measured; ++i)
        expected << pointCommands(lr40, frequencies.at(i));
    QVERIFY(sim.waitForCommands(before + static_cast<int>(expected.size())));
    QCOMPARE(sim.commands().mid(before), expected);

    const QStringList lines = logFileLines(path);
    QCOMPARE(lines.size(), measured + 2);
    QVERIFY2(lines.first().startsWith(QStringLiteral("Start Log ,")), qPrintable(lines.first()));
    QVERIFY2(lines.last().startsWith(QStringLiteral("Stop Log ,")), qPrintable(lines.last()));
    for (int i = 0; i < measured; ++i) {
        const QStringList fields = lines.at(i + 1).split(QLatin1Char(','));
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields.at(0), QString::number(frequencies.at(i)));
        QCOMPARE(fields.at(1), QStringLiteral("Cs"));
    }
    // The last record is what the boxes show.
    const QStringList shown = {w->Ppar()->text(), w->Pvalue()->text(), w->Punit()->text(),
                               w->Spar()->text(), w->svalue()->text(), w->Sunit()->text()};
    QCOMPARE(lines.at(measured).split(QLatin1Char(',')).mid(1), shown);

    // The view: a row per point measured, the log's record after the point number.
    if (!viewFirst)
        w->cmdPlot()->click();
    SweepView* view = w->sweepView();
    QVERIFY(view && view->isVisible());
    const QList<QStringList> rows = tableRows(*view->table()->model());
    QCOMPARE(rows.size(), measured);
    for (int i = 0; i < measured; ++i) {
        QCOMPARE(rows.at(i).at(1), QString::number(frequencies.at(i)));
        QCOMPARE(rows.at(i).mid(1, 7).join(QLatin1Char(',')),
                 lines.at(i + 1)); // derived columns follow
    }
    QCOMPARE(view->logFrequency()->isChecked(), logarithmic);
    if (viewFirst) {
        // Empty as the run began, filled while it went on.
        QVERIFY2(std::is_sorted(rowsSeen.begin(), rowsSeen.end()), qPrintable(toText(rowsSeen)));
        QCOMPARE(rowsSeen.first(), 0);
        QVERIFY2(std::any_of(rowsSeen.begin(), rowsSeen.end(),
                             [&](int seen) { return seen > 0 && seen < measured; }),
                 qPrintable(toText(rowsSeen)));
    }
    QCOMPARE(w->lblFrequency()->text(),
             QStringLiteral("Test frequency: %1 Hz").arg(frequencies.at(measured - 1)));
}

QTEST_MAIN(EndToEndSweep)
#include "test_e2e_sweep.moc"
