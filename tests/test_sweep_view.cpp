// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep view on its own: a run record fed by hand on the virtual clock, scripted file
// dialogs, no program and no port.
#include "platform/Dialogs.h"
#include "support/FileSizeLimit.h"
#include "support/LogFileLines.h"
#include "support/ScriptedDialogs.h"
#include "support/VirtualTiming.h"
#include "sweepview/MarkerModel.h"
#include "sweepview/RunRecord.h"
#include "sweepview/SweepChart.h"
#include "sweepview/SweepView.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {
MeasuredPoint point(int index, const QString& frequency, const QStringList& fields) {
    MeasuredPoint p;
    p.index = index;
    p.sweepPoint = true;
    p.frequency = frequency;
    const ResultField order[] = {ResultField::PrimaryName,    ResultField::PrimaryValue,
                                 ResultField::PrimaryUnit,    ResultField::SecondaryName,
                                 ResultField::SecondaryValue, ResultField::SecondaryUnit};
    for (int i = 0; i < fields.size(); ++i)
        p.set(order[i], fields.at(i));
    return p;
}

RunOutline outline(int points, bool logarithmic = false, double pacing = 0.3) {
    return {true, points, logarithmic, pacing};
}

SweepChart::Side sideOf(Qt::Alignment side) {
    return side == Qt::AlignLeft ? SweepChart::Primary : SweepChart::Secondary;
}

// The run's curves on one side.
QList<QCPGraph*> seriesOn(const SweepView& view, Qt::Alignment side) {
    return view.chart()->runGraphs(sideOf(side));
}

int plotted(const SweepView& view, Qt::Alignment side) {
    int count = 0;
    for (const QCPGraph* graph : seriesOn(view, side))
        count += graph->dataCount();
    return count;
}

// The view follows the record when control returns to the event loop.
void letViewCatchUp() {
    QCoreApplication::processEvents();
}
} // namespace

class SweepViewTest : public QObject {
    Q_OBJECT
private slots:
    void unplottableKeptInTableOnly_data();
    void unplottableKeptInTableOnly();
    void nameChangeGivesSeriesOfItsOwn();
    void frequencyAxisFollowsOutlineAndCheckBox();
    void steppedRunOverVolts();
    void viewMadeLaterRebuildsFromRecord();
    void copyAndSaveDataReadBack();
    void fitAndQuantities_data();
    void fitAndQuantities();
    void saveImage_data();
    void saveImage();
    void exportRefused_data();
    void exportRefused();
    void saveDialogLeavesTheRunGoing();
    void progressOnVirtualClock_data();
    void progressOnVirtualClock();
    void markerByClickAndArrowKeys_data();
    void markerByClickAndArrowKeys();

private:
    VirtualTiming m_timing;
    ScriptedDialogs m_dialogs;
};

void SweepViewTest::unplottableKeptInTableOnly_data() {
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<int>("primaryPlotted");
    QTest::addColumn<int>("secondaryPlotted");
    QTest::newRow("numbers") << "1000"
                             << "+1.2345E-09"
                             << "0.0123" << 1 << 1;
    QTest::newRow("empty value") << "1000"
                                 << ""
                                 << "0.0123" << 0 << 1;
    QTest::newRow("text value") << "1000"
                                << "+1.2345E-09"
                                << "----" << 1 << 0;
    QTest::newRow("overload") << "1000"
                              << "9.9E+37"
                              << "0.0123" << 0 << 1;
    QTest::newRow("negative overload") << "1000"
                                       << "1E-9"
                                       << "-9.90000E+37" << 1 << 0;
    QTest::newRow("single measurement, frequency unknown") << ""
                                                           << "1E-9"
                                                           << "0.01" << 0 << 0;
    QTest::newRow("zero frequency") << "0"
                                    << "1E-9"
                                    << "0.01" << 0 << 0;
}

void SweepViewTest::unplottableKeptInTableOnly() {
    QFETCH(QString, frequency);
    QFETCH(QString, primary);
    QFETCH(QString, secondary);
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(1));
    record.add(point(0, frequency, {"Cs", primary, "F", "DF", secondary, ""}));
    letViewCatchUp();

    QTEST(plotted(view, Qt::AlignLeft), "primaryPlotted");
    QTEST(plotted(view, Qt::AlignRight), "secondaryPlotted");
    const QAbstractItemModel* table = view.table()->model();
    QCOMPARE(table->rowCount(), 1);
    const QStringList row{"1", frequency, "Cs", primary, "F", "DF", secondary, ""};
    for (int column = 0; column < row.size(); ++column)
        QCOMPARE(table->index(0, column).data().toString(), row.at(column));
}

void SweepViewTest::nameChangeGivesSeriesOfItsOwn() {
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(3));
    record.add(point(0, "1000", {"Cs", "1E-9", "F", "DF", "0.01", ""}));
    record.add(point(1, "2000", {"Ls", "2E-3", "H", "Q", "40", ""}));
    record.add(point(2, "3000", {"Ls", "3E-3", "H", "Q", "50", ""}));
    letViewCatchUp();

    QCOMPARE(seriesOn(view, Qt::AlignLeft).size(), 2);
    QCOMPARE(seriesOn(view, Qt::AlignLeft).at(1)->dataCount(), 2);
    QCOMPARE(view.chart()->valueAxis(SweepChart::Primary)->label(), QString("Cs (F), Ls (H)"));
    QCOMPARE(view.chart()->valueAxis(SweepChart::Secondary)->label(), QString("DF, Q"));
}

void SweepViewTest::steppedRunOverVolts() {
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    RunOutline planned{true, 4, true, 0.3, 0, 0, RunSetting::Voltage, 0.1, 1, RunSetting::Bias};
    planned.stepValues = QStringList{"0", "0.5"};
    record.begin(planned);
    for (int i = 0; i < 4; ++i) {
        MeasuredPoint p = point(i, "1000", {"Cs", "1E-9", "F", "DF", "0.01", ""});
        p.sweptValue = i % 2 ? "1" : "0.1";
        p.stepIndex = i / 2;
        p.stepValue = planned.stepValues.at(i / 2);
        record.add(p);
    }
    record.end();
    letViewCatchUp();
    QCOMPARE(seriesOn(view, Qt::AlignLeft).at(1)->name(), QString("Cs (F), Bias 0.5 V"));
    QVERIFY(!view.logFrequency()->isChecked() && !view.logFrequency()->isEnabled());
    QCOMPARE(view.table()->model()->headerData(8, Qt::Horizontal).toString(), "Voltage (V)");
    QCOMPARE(view.table()->model()->index(3, 9).data().toString(), QString("0.5")); // Step
    m_dialogs.clear();
    for (int hold = 0; hold < 5; ++hold) // two references a hold, eight places
        view.holdReference();
    QCOMPARE(view.referenceList()->count(), SweepView::MostReferences);
    QVERIFY(m_dialogs.texts().join("").contains("2 of 2 steps could not be kept"));
}

void SweepViewTest::frequencyAxisFollowsOutlineAndCheckBox() {
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    RunOutline planned = outline(2, true);
    planned.startHertz = 1000;
    planned.stopHertz = 100000;
    record.begin(planned);
    record.add(point(0, "1000", {"Cs", "1E-9", "F", "DF", "0.01", ""}));
    letViewCatchUp();
    QVERIFY(view.logFrequency()->isChecked());
    // The planned sweep spanned from its first point, with no empty decade.
    const QCPAxis* frequency = view.chart()->frequencyAxis();
    QCOMPARE(frequency->scaleType(), QCPAxis::stLogarithmic);
    QCOMPARE(frequency->range().lower, 1e3);
    QCOMPARE(frequency->range().upper, 1e5);

    view.logFrequency()->click();
    QCOMPARE(frequency->scaleType(), QCPAxis::stLinear);
    record.add(point(1, "2000", {"Cs", "2E-9", "F", "DF", "0.02", ""}));
    letViewCatchUp();
    QCOMPARE(plotted(view, Qt::AlignLeft), 2);

    record.begin(outline(2, false));
    QVERIFY(!view.logFrequency()->isChecked());
    QCOMPARE(plotted(view, Qt::AlignLeft), 0);
}

void SweepViewTest::viewMadeLaterRebuildsFromRecord() {
    RunRecord record(m_timing);
    record.begin(outline(11, true));
    record.add(point(0, "1000", {"Cs", "1E-9", "F", "DF", "0.01", ""}));
    record.add(point(1, "1585", {"Cs", "2E-9", "F", "DF", "0.02", ""}));
    record.end();

    SweepView view(record, m_dialogs);
    QCOMPARE(view.table()->model()->rowCount(), 2);
    QCOMPARE(plotted(view, Qt::AlignLeft), 2);
    QVERIFY(view.logFrequency()->isChecked());
    QCOMPARE(view.progress()->text(), QString("Point 2 of 11"));
}

void SweepViewTest::copyAndSaveDataReadBack() {
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(2));
    record.add(point(0, "1000", {"Z,\"x\"", "1E3", "Ohm", "Th", "-1.5", "deg"}));
    record.add(point(1, "", {"Cs", "9.9E+37", "F"}));

    view.copyButton()->click();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("Point\tFrequency (Hz)\tPrimary parameter\tPrimary value\tPrimary unit\t"
                     "Secondary parameter\tSecondary value\tSecondary unit\n"
                     "1\t1000\tZ,\"x\"\t1E3\tOhm\tTh\t-1.5\tdeg\n"
                     "2\t\tCs\t9.9E+37\tF\t\t\t\n"));

    QTemporaryDir dir;
    const QString path = dir.filePath("sweep.csv");
    // An earlier export, replaced: it keeps its permissions.
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile(path).open(QIODevice::WriteOnly);
    QVERIFY(QFile::setPermissions(path, mode));
    m_dialogs.queueFile(path);
    view.saveDataButton()->click();
    QCOMPARE(QFileInfo(path).permissions() & QFile::Permissions(0x7077), mode);
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(
        saved.readAll(),
        QByteArray("Point,Frequency (Hz),Primary parameter,Primary value,Primary unit,"
                   "Secondary parameter,Secondary value,Secondary unit,|Z| (Ohm),theta (deg),Rs "
                   "(Ohm),Xs (Ohm),Cs (F),Cp (F),Ls (H),Lp (H),Rp (Ohm),D,Q,G (S),B (S),|Y| (S)\r\n"
                   "1,1000,\"Z,\"\"x\"\"\",1E3,Ohm,Th,-1.5,deg,,,,,,,,,,,,,,\r\n"
                   "2,,Cs,9.9E+37,F,,,,,,,,,,,,,,,,,\r\n"));
}

void SweepViewTest::fitAndQuantities_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("primary"); // what the left axis shows
    QTest::addColumn<QStringList>("results");
    QTest::newRow("series-rc on Cs") << "series-rc"
                                     << "Measured" << QStringList{"R", "C", "RMS error"};
    QTest::newRow("series-rc on |Z|") << "series-rc"
                                      << "|Z| (Ohm)" << QStringList{"R", "C", "RMS error"};
    QTest::newRow("crystal: too few points, said in words")
        << "crystal"
        << "Measured" << QStringList{"The crystal model needs at least 5 points"};
}

// A 1 nF capacitor with 10 Ohm in series, measured as Cs with Rs at five frequencies.
void SweepViewTest::fitAndQuantities() {
    QFETCH(QString, model);
    QFETCH(QString, primary);
    QFETCH(QStringList, results);
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(5));
    for (int i = 0; i < 4; ++i)
        record.add(point(i, QString::number(1000 * (i + 1)),
                         {"Cs", "1.00000E-09", "F", "Rs", "10.0000", "Ohm"}));
    letViewCatchUp();
    view.primaryQuantity()->setCurrentText(primary);
    QCOMPARE(seriesOn(view, Qt::AlignLeft).front()->dataCount(), 4);
    view.fitModel()->setCurrentText(model);
    view.fitButton()->click();
    QTableWidget& table = *view.fitResults();
    QCOMPARE(table.rowCount(), results.size());
    for (int row = 0; row < results.size(); ++row)
        QVERIFY2(table.item(row, 0)->text().startsWith(results.at(row)),
                 qPrintable(table.item(row, 0)->text()));
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.clear();
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    const bool fitted = results.size() > 1;
    QCOMPARE(clipboard.text().contains("\n.SUBCKT series-rc 1 2\n"), fitted);
    QCOMPARE(view.modelGraph(SweepChart::Primary)
                 ? view.modelGraph(SweepChart::Primary)->dataCount()
                 : 0,
             fitted ? 400 : 0);
    if (fitted)
        QCOMPARE(table.item(0, 1)->text(), QString("10 Ω"));
    view.modelCurve()->setChecked(false);
    QVERIFY(!view.modelGraph(SweepChart::Primary));
}

void SweepViewTest::saveImage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("signature");
    QTest::newRow("PNG") << "sweep.png" << QByteArray("\x89PNG\r\n\x1a\n");
    QTest::newRow("SVG") << "sweep.SVG" << QByteArray("<?xml");
    QTest::newRow("JPEG") << "sweep.jpg" << QByteArray("\xFF\xD8\xFF");
    QTest::newRow("BMP") << "sweep.bmp" << QByteArray("BM");
}

void SweepViewTest::saveImage() {
    QFETCH(QString, name);
    QFETCH(QByteArray, signature);
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(2));
    record.add(point(0, "1000", {"Cs", "1E-9", "F", "DF", "0.01", ""}));
    QTemporaryDir dir;
    m_dialogs.queueFile(dir.filePath(name));
    view.saveImageButton()->click();
    QFile saved(dir.filePath(name));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray content = saved.readAll();
    QVERIFY(content.startsWith(signature));
    QVERIFY(!content.contains("<image")); // an SVG is lines and text, no embedded bitmap
}

void SweepViewTest::exportRefused_data() {
    QTest::addColumn<QString>("target"); // the file name, or what the path names
    QTest::addColumn<bool>("image");     // "Save image...", else "Save data..."
    QTest::addColumn<QString>("reason"); // %1: the path
    const QString notAFile = QStringLiteral("Not a regular file");
    QTest::newRow("missing folder") << "missing/sweep.csv" << false << "No such file or directory";
    QTest::newRow("device node") << "device" << false << notAFile;
    QTest::newRow("FIFO") << "fifo.png" << true << notAFile;
    QTest::newRow("read-only file") << "read-only" << false << "Existing file %1 is not writable";
    // A file size limit of 0 stands in for the full disk ("No space left on device").
    QTest::newRow("full disk, data") << "full" << false << "File too large";
    QTest::newRow("full disk, image") << "full.png" << true << "File too large";
    QTest::newRow("image named .gif")
        << "sweep.gif" << true
        << "Not an image type that can be written here: name the file .png, .jpg, .bmp or .svg";
}

// Refused with the path and the reason; nothing is written, an earlier file stays.
void SweepViewTest::exportRefused() {
    QFETCH(QString, target);
    QFETCH(bool, image);
    QFETCH(QString, reason);
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    QVERIFY(!view.saveDataButton()->isEnabled()); // nothing to save yet
    record.begin(outline(2));
    record.add(point(0, "1000", {"Cs", "1E-9", "F", "DF", "0.01", ""}));
    QTemporaryDir dir;
    const QString path = dir.filePath(target);
    const QByteArray earlier("earlier export\r\n");
    const QByteArray name = QFile::encodeName(path);
    if (target == "device" && ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        QSKIP("no device node can be made here");
    if (target == "fifo.png")
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    const bool existing = target.startsWith("full") || target == "read-only";
    if (existing) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
    }
    if (target == "read-only")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const QFile::Permissions mode = QFileInfo(path).permissions();
    m_dialogs.clear();
    m_dialogs.queueFile(path);
    std::optional<FileSizeLimit> noRoom;
    if (target.startsWith("full"))
        noRoom.emplace(0);
    (image ? view.saveImageButton() : view.saveDataButton())->click();
    noRoom.reset();
    QCOMPARE(m_dialogs.texts(), QStringList{path + "  " + QString(reason).replace("%1", path)});
    QCOMPARE(m_dialogs.shown().front().title, QString("Sweep"));
    QCOMPARE(QFileInfo(path).permissions(), mode);
    if (existing)
        QCOMPARE(logFileLines(path), QStringList{"earlier export"});
    else
        QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), existing ? 1 : 0);
}

// The real save dialog opens without a nested event loop: the run goes on meanwhile, and
// the file holds the record as it is when the operator answers.
void SweepViewTest::saveDialogLeavesTheRunGoing() {
    WidgetDialogs dialogs;
    RunRecord record(m_timing);
    SweepView view(record, dialogs);
    record.begin(outline(3));
    record.add(point(0, "1000", {"Cs", "1E-9", "F"}));
    view.saveDataButton()->click();
    auto* dialog = view.findChild<QFileDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    record.add(point(1, "2000", {"Cs", "2E-9", "F"}));
    record.add(point(2, "3000", {"Cs", "3E-9", "F"}));
    QTemporaryDir dir;
    dialog->selectFile(dir.filePath("sweep.csv"));
    static_cast<QDialog*>(dialog)->accept(); // the operator presses Save
    QCOMPARE(logFileLines(dir.filePath("sweep.csv")).size(), 4);
}

void SweepViewTest::progressOnVirtualClock_data() {
    QTest::addColumn<int>("pointCount");
    QTest::addColumn<double>("secondsPerPoint");
    QTest::addColumn<int>("measured");
    QTest::addColumn<QString>("ending"); // "", "end", "stop" or "fail"
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QString>("timeLeft");
    // Pacing 0.6 s a point in every row.
    QTest::newRow("before the first point") << 11 << 0.8 << 0 << ""
                                            << ""
                                            << "";
    QTest::newRow("actual pace slower than pacing") << 11 << 0.8 << 2 << ""
                                                    << "Point 2 of 11"
                                                    << "About 7 s left"; // 9 x 0.8 = 7.2
    QTest::newRow("pace never below pacing") << 11 << 0.1 << 1 << ""
                                             << "Point 1 of 11"
                                             << "About 6 s left";
    QTest::newRow("long sweep") << 1001 << 0.75 << 1 << ""
                                << "Point 1 of 1001"
                                << "About 12 min 30 s left";
    QTest::newRow("complete") << 11 << 0.8 << 11 << "end"
                              << "Point 11 of 11"
                              << "Complete";
    QTest::newRow("ended short, not stopped") << 11 << 0.8 << 3 << "end"
                                              << "Point 3 of 11"
                                              << "";
    QTest::newRow("stopped") << 11 << 0.8 << 3 << "stop"
                             << "Stopped at point 3 of 11"
                             << "";
    QTest::newRow("failed") << 11 << 0.8 << 3 << "fail"
                            << "Failed at point 3 of 11"
                            << "";
}

void SweepViewTest::progressOnVirtualClock() {
    QFETCH(int, pointCount);
    QFETCH(double, secondsPerPoint);
    QFETCH(int, measured);
    QFETCH(QString, ending);
    VirtualTiming timing;
    RunRecord record(timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(pointCount, false, 0.6));
    for (int i = 0; i < measured; ++i) {
        timing.advance(secondsPerPoint);
        record.add(point(i, QString::number(1000 * (i + 1)), {"Cs", "1E-9", "F"}));
    }
    if (ending == "stop")
        record.markStopped();
    if (ending == "fail")
        record.markFailed();
    if (!ending.isEmpty())
        record.end();
    letViewCatchUp();
    QTEST(view.progress()->text(), "progress");
    QTEST(view.timeLeft()->text(), "timeLeft");
}

void SweepViewTest::markerByClickAndArrowKeys_data() {
    QTest::addColumn<QString>("keys"); // R: Right, L: Left, in the marker table
    QTest::addColumn<double>("frequency");
    QTest::newRow("a click near the third point") << "" << 3000.0;
    QTest::newRow("Right") << "R" << 4000.0;
    QTest::newRow("Left twice") << "LL" << 1000.0;
    QTest::newRow("Left past the first point") << "LLL" << 1000.0;
}

void SweepViewTest::markerByClickAndArrowKeys() {
    QFETCH(QString, keys);
    RunRecord record(m_timing);
    SweepView view(record, m_dialogs);
    record.begin(outline(5));
    for (int i = 0; i < 5; ++i)
        record.add(point(i, QString::number(1000 * (i + 1)), {"Cs", QString("%1E-9").arg(i), "F"}));
    record.end();
    view.show();
    letViewCatchUp();
    SweepChart& chart = *view.chart();
    chart.replot();
    // A few pixels off the curve's third point.
    const QPoint near(qRound(chart.frequencyAxis()->coordToPixel(3000)) + 3,
                      qRound(chart.valueAxis(SweepChart::Primary)->coordToPixel(2e-9)) - 3);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, near);
    for (const QChar key : keys)
        QTest::keyClick(view.markerTable(), key == 'R' ? Qt::Key_Right : Qt::Key_Left);
    QCOMPARE(view.markerModel()->markers().size(), std::size_t(1));
    QTEST(view.markerModel()->markers().front().frequency, "frequency");
}

QTEST_MAIN(SweepViewTest)
#include "test_sweep_view.moc"
