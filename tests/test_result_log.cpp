// SPDX-License-Identifier: GPL-3.0-or-later
// Logging from the measurement window: starting and stopping, the records of a run, the
// marker, the overwrite question and the failures of the file.
#include "app/Form1.h"
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "support/TableRows.h"
#include "support/TestProgram.h"
#include "sweepview/SweepView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include "support/FileSizeLimit.h"
#endif

namespace {
const QByteArray Lr40Reply = "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone\r\n";
const QByteArray Px80Reply = "Cs\t1.0E-9\tF\tD\t0.01\tnone\r\n";
const QString Filter = QStringLiteral("Csv files (*.csv)|*.csv| All Files (*.*)|*.*|");

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray mark(const char* opening, const QDateTime& when) {
    const QLocale locale = QLocale::system();
    return QByteArray(opening) + locale.toString(when.date(), QLocale::ShortFormat).toUtf8() + ',' +
           locale.toString(when.time(), QLocale::ShortFormat).toUtf8() + "\r\n";
}

struct LoggingBench {
    explicit LoggingBench(const QString& variant) : p(variantNamed(variant)) {
        p.connect();
        p.root->configure();
        answerWith((p.root->variant().kind == VariantKind::LR40) ? Lr40Reply : Px80Reply);
        p.port->clearRecord();
        p.dialogs->clear();
    }

    void answerWith(const QByteArray& reply) {
        if ((p.root->variant().kind == VariantKind::LR40)) {
            p.port->answer("MEAS:*WAIT:FETC?", reply, 0.05);
        } else {
            p.port->answer("*STB?", "0\r\n", 0.05);
            p.port->answer("Fetch?", reply, 0.05);
        }
    }

    FrmMeasure& window() { return p.root->frmMeasure(); }
    QString path(const char* name = "log.csv") const { return dir.filePath(name); }

    // Presses Log with the file chosen; returns the expected opening line.
    QByteArray startLog(const QString& file) {
        p.dialogs->queueFile(file);
        const QDateTime now = p.timing->currentDateTime();
        window().cmdLog()->click();
        return mark("Start Log ,", now);
    }
    QByteArray stopLog() {
        const QDateTime now = p.timing->currentDateTime();
        window().StopLog()->click();
        return mark("Stop Log ,", now);
    }

    void chooseSweep() {
        p.root->configure().SingleorSweep()->setCurrentText(QStringLiteral("Sweep"));
    }

    void writeFile(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QString logButtons() {
        return QString::fromLatin1(window().cmdLog()->isEnabled() ? "1" : "0") +
               (window().StopLog()->isEnabled() ? "1" : "0");
    }

    QTemporaryDir dir;
    TestProgram p;
};

const QByteArray SingleRecord = "Cs,1.0E-9,F,D,0.01,none\r\n";
} // namespace

class ResultLogTest : public QObject {
    Q_OBJECT
private slots:
    void singleResult_data();
    void singleResult();
    void elevenPointSweep_data();
    void elevenPointSweep();
    void everyRecordOnDiskWhenWritten();
    void configurationMarker();
    void existingFile_data();
    void existingFile();
    void cancelChangesNothing();
    void stopAndLogAgainAppends();
    void leavingWhileLoggingLeavesFileOpenUntilNextLog();
    void unopenableFile_data();
    void unopenableFile();
    void fullMediumReportedOnce();
    void failedAppendDuringSweepStopsLogging();
    void fieldsQuotedOnlyWhenNeeded();
};

void ResultLogTest::singleResult_data() {
    QTest::addColumn<QString>("variant");
    QTest::newRow("LR40") << "LR40";
    QTest::newRow("PX80") << "PX80";
}

void ResultLogTest::singleResult() {
    QFETCH(QString, variant);
    LoggingBench b(variant);
    FrmMeasure& w = b.window();
    const QString path = b.path();
    const QByteArray opening = b.startLog(path);

    QCOMPARE(b.p.dialogs->fileDialogs(), QStringList{"Select a file name|" + Filter});
    QVERIFY(b.p.dialogs->shown().empty()); // a new file: no question
    QVERIFY(w.bLog());
    QCOMPARE(w.windowTitle(), QStringLiteral("logging to file ") + path);
    QCOMPARE(b.logButtons(), QStringLiteral("01"));
    QCOMPARE(contentOf(path), opening);

    w.Start()->click();
    QCOMPARE(b.logButtons(), QStringLiteral("01"));
    const QByteArray closing = b.stopLog();
    QCOMPARE(contentOf(path), opening + SingleRecord + closing);
    QVERIFY(!w.bLog());
    QVERIFY(!b.p.root->resultLog().isOpen());
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QCOMPARE(b.logButtons(), QStringLiteral("10"));
}

void ResultLogTest::elevenPointSweep_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("log");
    QTest::addColumn<QList<int>>("frequencies");
    for (const char* v : {"LR40", "PX80"}) {
        QTest::addRow("%s linear", v)
            << v << false << QList<int>{1000,  10900, 20800, 30700, 40600, 50500,
                                        60400, 70300, 80200, 90100, 100000};
        QTest::addRow("%s logarithmic", v)
            << v << true
            << QList<int>{1000, 1585, 2512, 3981, 6309, 9999, 15847, 25116, 39806, 63088, 99988};
    }
}

void ResultLogTest::elevenPointSweep() {
    QFETCH(QString, variant);
    QFETCH(bool, log);
    QFETCH(QList<int>, frequencies);
    LoggingBench b(variant);
    b.chooseSweep();
    b.p.root->configure().logsweep()->setChecked(log);
    // Each point answers with a primary value of its own, so that a row out of place shows.
    const QByteArray reply = b.p.root->variant().kind == VariantKind::LR40 ? Lr40Reply : Px80Reply;
    QObject::connect(b.window().statusBox(), &QLineEdit::textChanged, [&](const QString& status) {
        if (status.startsWith(QStringLiteral("Measuring ")))
            b.answerWith(QByteArray(reply).replace("1.0E-9", status.mid(10).toLatin1() + "E-9"));
    });
    b.window().cmdPlot()->click();
    const QByteArray opening = b.startLog(b.path());
    b.window().Start()->click();
    const QByteArray closing = b.stopLog();

    QByteArray expected = opening;
    for (int i = 0; i < frequencies.size(); ++i)
        expected += QByteArray::number(frequencies.at(i)) + ',' +
                    QByteArray(SingleRecord).replace("1.0E-9", QByteArray::number(i) + "E-9");
    expected += closing;
    QCOMPARE(contentOf(b.path()), expected);

    // The view holds the same values as the log, and its last row what the boxes show (the
    // derived columns after them are the analysis's).
    const QList<QStringList> rows = tableRows(*b.window().sweepView()->table()->model());
    const QStringList records = QString::fromLatin1(expected).split(QStringLiteral("\r\n"));
    QCOMPARE(rows.size(), frequencies.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).at(0), QString::number(i + 1));
        QCOMPARE(rows.at(i).mid(1, 7).join(QLatin1Char(',')), records.at(i + 1));
    }
    FrmMeasure& w = b.window();
    QCOMPARE(rows.last().mid(2, 6),
             (QStringList{w.Ppar()->text(), w.Pvalue()->text(), w.Punit()->text(), w.Spar()->text(),
                          w.svalue()->text(), w.Sunit()->text()}));
}

void ResultLogTest::everyRecordOnDiskWhenWritten() {
    LoggingBench b(QStringLiteral("LR40"));
    b.chooseSweep();
    b.startLog(b.path());
    QList<int> linesSeen;
    QObject::connect(b.window().statusBox(), &QLineEdit::textChanged,
                     [&] { linesSeen << static_cast<int>(contentOf(b.path()).count("\r\n")); });
    b.window().Start()->click();
    // Read from disk as each point began: the opening line plus one line per point before.
    QCOMPARE(linesSeen, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

void ResultLogTest::configurationMarker() {
    LoggingBench b(QStringLiteral("PX80"));
    b.p.port->answer("*idn?", "Marovex,PX80,54321,1.01\r\n", 0.05);
    b.window().Config()->click(); // not logging: nothing written anywhere
    const QByteArray opening = b.startLog(b.path());
    b.window().Config()->click();
    b.window().Config()->click();
    QCOMPARE(contentOf(b.path()), opening + "Configuration Changed\r\nConfiguration Changed\r\n");
}

void ResultLogTest::existingFile_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("overwrite");
    for (const char* v : {"LR40", "PX80"}) {
        QTest::addRow("%s Yes empties it", v) << v << true;
        QTest::addRow("%s No appends", v) << v << false;
    }
}

void ResultLogTest::existingFile() {
    QFETCH(QString, variant);
    QFETCH(bool, overwrite);
    LoggingBench b(variant);
    const QByteArray old = "Start Log ,old\r\nCs,1,F,D,2,none\r\n";
    b.writeFile(b.path(), old);
    b.p.dialogs->queueAnswer(overwrite ? MessageAnswer::Yes : MessageAnswer::No);
    const QByteArray opening = b.startLog(b.path());

    QCOMPARE(b.p.dialogs->shown().size(), std::size_t{1});
    const ScriptedDialogs::Shown& asked = b.p.dialogs->shown().front();
    QCOMPARE(asked.text, QStringLiteral("Overwrite ") + b.path());
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(asked.title, b.p.root->variant().applicationTitle);
    QCOMPARE(contentOf(b.path()), (overwrite ? QByteArray() : old) + opening);
    QVERIFY(b.window().bLog());
}

void ResultLogTest::cancelChangesNothing() {
    LoggingBench b(QStringLiteral("LR40"));
    FrmMeasure& first = b.window();
    const QByteArray opening = b.startLog(b.path());
    first.cmdExit()->click(); // leaves the file open, no longer written
    b.p.root->form1().Measure()->click();
    FrmMeasure& w = b.window();

    b.p.dialogs->queueFile(std::nullopt);
    w.cmdLog()->click();
    QVERIFY(!w.bLog());
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QCOMPARE(b.logButtons(), QStringLiteral("10"));
    QVERIFY(b.p.root->resultLog().isOpen());
    QCOMPARE(b.p.root->resultLog().path(), b.path());
    QVERIFY(b.p.dialogs->shown().empty());
    QCOMPARE(contentOf(b.path()), opening);
}

void ResultLogTest::stopAndLogAgainAppends() {
    LoggingBench b(QStringLiteral("PX80"));
    const QByteArray first = b.startLog(b.path());
    const QByteArray firstEnd = b.stopLog();
    b.p.dialogs->queueAnswer(MessageAnswer::No);
    const QByteArray second = b.startLog(b.path());
    b.window().Start()->click();
    QCOMPARE(contentOf(b.path()), first + firstEnd + second + SingleRecord);
}

void ResultLogTest::leavingWhileLoggingLeavesFileOpenUntilNextLog() {
    LoggingBench b(QStringLiteral("LR40"));
    const QByteArray opening = b.startLog(b.path());
    b.window().Start()->click();
    b.window().cmdExit()->click();
    QVERIFY(b.p.root->resultLog().isOpen());
    b.p.root->form1().Measure()->click();
    QCOMPARE(b.logButtons(), QStringLiteral("10"));
    b.window().Start()->click(); // not logging in the new window
    const QString other = b.path("other.csv");
    const QByteArray otherOpening = b.startLog(other);
    // The old log ends without a closing line.
    QCOMPARE(contentOf(b.path()), opening + SingleRecord);
    QCOMPARE(contentOf(other), otherOpening);
    QCOMPARE(b.p.root->resultLog().path(), other);
}

void ResultLogTest::unopenableFile_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("title");
    QTest::newRow("LR40") << "LR40"
                          << "LR40";
    QTest::newRow("PX80") << "PX80"
                          << "PX80";
}

void ResultLogTest::unopenableFile() {
    QFETCH(QString, variant);
    LoggingBench b(variant);
    const QString path = b.path("no/such/folder/log.csv");
    b.startLog(path);
    QCOMPARE(b.p.dialogs->shown().size(), std::size_t{1});
    const ScriptedDialogs::Shown& shown = b.p.dialogs->shown().front();
    QVERIFY2(shown.text.startsWith(path + QStringLiteral("  ")), qPrintable(shown.text));
    QVERIFY(shown.text.size() > path.size() + 2);
    QCOMPARE(shown.buttons, MessageButtons::Ok);
    QTEST(shown.title, "title");
    // Logging stays off.
    FrmMeasure& w = b.window();
    QVERIFY(!w.bLog());
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QCOMPARE(b.logButtons(), QStringLiteral("10"));
    QVERIFY(!b.p.root->resultLog().isOpen());
    w.Start()->click();
    QCOMPARE(b.p.dialogs->shown().size(), std::size_t{1});
}

// A medium with no room left (a file size limit of 0 stands in for it): the opening line
// fails, reported once.
void ResultLogTest::fullMediumReportedOnce() {
#ifdef Q_OS_UNIX
    LoggingBench b(QStringLiteral("LR40"));
    b.chooseSweep();
    const QString path = b.path();
    b.writeFile(path, QByteArray());
    {
        const FileSizeLimit noRoom(0);
        QVERIFY(noRoom.active());
        b.startLog(path);
    }
    QCOMPARE(b.p.dialogs->texts(),
             (QStringList{"Overwrite " + path, path + QStringLiteral("  File too large")}));
    QCOMPARE(b.p.dialogs->shown().back().title, QStringLiteral("LR40"));
    FrmMeasure& w = b.window();
    QVERIFY(!w.bLog());
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QCOMPARE(b.logButtons(), QStringLiteral("10"));
    w.Start()->click();
    QCOMPARE(w.statusBox()->text(), QStringLiteral("Complete"));
    QCOMPARE(b.p.dialogs->shown().size(), std::size_t{2});
    QCOMPARE(contentOf(path), QByteArray());
#else
    QSKIP("needs a file size limit");
#endif
}

// A medium that fills up during a sweep: the file size limit makes the third record fail.
void ResultLogTest::failedAppendDuringSweepStopsLogging() {
#ifdef Q_OS_UNIX
    LoggingBench b(QStringLiteral("PX80"));
    b.chooseSweep();
    const QByteArray opening = b.startLog(b.path());
    const QByteArray firstTwo = "1000," + SingleRecord + "10900," + SingleRecord;

    {
        const FileSizeLimit roomForTwo(opening.size() + firstTwo.size());
        QVERIFY(roomForTwo.active());
        b.window().Start()->click();
    }

    QCOMPARE(b.p.dialogs->shown().size(), std::size_t{1});
    const ScriptedDialogs::Shown& shown = b.p.dialogs->shown().front();
    QVERIFY2(shown.text.startsWith(b.path() + QStringLiteral("  ")), qPrintable(shown.text));
    QCOMPARE(shown.title, QStringLiteral("PX80"));
    // The run goes on to its end; logging has stopped.
    FrmMeasure& w = b.window();
    QCOMPARE(w.statusBox()->text(), QStringLiteral("Complete"));
    QVERIFY(!w.bLog());
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QCOMPARE(b.logButtons(), QStringLiteral("10"));
    QVERIFY(!b.p.root->resultLog().isOpen());
    QCOMPARE(contentOf(b.path()), opening + firstTwo);
#else
    QSKIP("needs a file size limit");
#endif
}

void ResultLogTest::fieldsQuotedOnlyWhenNeeded() {
    LoggingBench b(QStringLiteral("PX80"));
    const QByteArray opening = b.startLog(b.path());
    b.answerWith("Cs\t1,5\tF\tD\t\"x\"\tnone\r\n");
    b.window().Start()->click();
    b.answerWith("Cs\t\tF\tD\t0.01\tno\r\nne\r\n");
    b.window().Start()->click();
    QCOMPARE(contentOf(b.path()),
             opening + "Cs,\"1,5\",F,D,\"\"\"x\"\"\",none\r\n" + "Cs,,F,D,0.01,none\r\n");
}

QTEST_MAIN(ResultLogTest)
#include "test_result_log.moc"
