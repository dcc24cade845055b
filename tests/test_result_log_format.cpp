// SPDX-License-Identifier: GPL-3.0-or-later
// The log file on its own: field quoting, the opening and closing lines, open modes and
// the failures of the file system.
#include "logging/ResultLog.h"
#include "support/FileSizeLimit.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

class ResultLogFormatTest : public QObject {
    Q_OBJECT
private slots:
    void csvField_data();
    void csvField();
    void record_data();
    void record();
    void markLine();
    void openModes_data();
    void openModes();
    void closeWithoutFileDoesNothing();
    void appendWithoutFileFails();
    void fullMediumFails();
    void unopenableFileFails();
    void probe();
};

void ResultLogFormatTest::csvField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "1.0E-9"
                           << "1.0E-9";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blanks kept") << " Cs "
                                 << " Cs ";
    QTest::newRow("comma") << "1,5"
                           << "\"1,5\"";
    QTest::newRow("quote") << "say \"x\""
                           << "\"say \"\"x\"\"\"";
    QTest::newRow("only a quote") << "\""
                                  << "\"\"\"\"";
    QTest::newRow("line end") << "a\nb"
                              << "\"a\nb\"";
}

void ResultLogFormatTest::csvField() {
    QFETCH(QString, field);
    QTEST(ResultLog::csvField(field), "written");
}

void ResultLogFormatTest::record_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("single result") << QStringList{"Cs", "1.0E-9", "F", "D", "0.01", "none"}
                                   << QByteArray("Cs,1.0E-9,F,D,0.01,none\r\n");
    QTest::newRow("sweep point") << QStringList{"1000", "Cs", "1.0E-9", "F", "D", "0.01", "none"}
                                 << QByteArray("1000,Cs,1.0E-9,F,D,0.01,none\r\n");
    QTest::newRow("empty field") << QStringList{"Cs", "", "F", "D", "0.01", "none"}
                                 << QByteArray("Cs,,F,D,0.01,none\r\n");
    QTest::newRow("quoted fields") << QStringList{"Cs", "1,5", "F", "D", "\"x\"", "none"}
                                   << QByteArray("Cs,\"1,5\",F,D,\"\"\"x\"\"\",none\r\n");
}

void ResultLogFormatTest::record() {
    QFETCH(QStringList, fields);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.csv"));
    ResultLog log;
    QVERIFY(log.open(path, ResultLog::OpenMode::Truncate));
    QVERIFY(log.appendRecord(fields));
    // On disk before the file is closed.
    QTEST(contentOf(path), "bytes");
    QVERIFY(log.close());
    QVERIFY(!log.isOpen());
}

void ResultLogFormatTest::markLine() {
    const QDateTime when(QDate(2026, 12, 7), QTime(14, 5, 9));
    const QLocale locale = QLocale::system();
    QCOMPARE(ResultLog::markLine(QStringLiteral("Start Log ,"), when),
             QStringLiteral("Start Log ,") + locale.toString(when.date(), QLocale::ShortFormat) +
                 QLatin1Char(',') + locale.toString(when.time(), QLocale::ShortFormat));
}

void ResultLogFormatTest::openModes_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("truncate") << false << QByteArray("new\r\n");
    QTest::newRow("append") << true << QByteArray("old\r\nnew\r\n");
}

void ResultLogFormatTest::openModes() {
    QFETCH(bool, append);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.csv"));
    ResultLog log;
    QVERIFY(log.open(path, ResultLog::OpenMode::Truncate));
    QVERIFY(log.appendLine(QStringLiteral("old")));
    QVERIFY(log.open(path, append ? ResultLog::OpenMode::Append : ResultLog::OpenMode::Truncate));
    QVERIFY(log.appendLine(QStringLiteral("new")));
    QVERIFY(log.close());
    QTEST(contentOf(path), "bytes");
    QCOMPARE(log.path(), path);
}

void ResultLogFormatTest::closeWithoutFileDoesNothing() {
    ResultLog log;
    QVERIFY(log.close());
    QVERIFY(log.close());
}

void ResultLogFormatTest::appendWithoutFileFails() {
    ResultLog log;
    QVERIFY(!log.appendLine(QStringLiteral("x")));
    QVERIFY(!log.failureText().isEmpty());
}

void ResultLogFormatTest::fullMediumFails() {
    QTemporaryDir dir;
    ResultLog log;
    QVERIFY(log.open(dir.filePath(QStringLiteral("full.csv")), ResultLog::OpenMode::Append));
    const FileSizeLimit noRoom(0); // stands in for a medium with no room left
    QVERIFY(noRoom.active());
    QVERIFY(!log.appendLine(QStringLiteral("Start Log ,")));
    QCOMPARE(log.failureText(), QStringLiteral("File too large"));
    log.close();
}

void ResultLogFormatTest::unopenableFileFails() {
    QTemporaryDir dir;
    ResultLog log;
    QVERIFY(!log.open(dir.filePath(QStringLiteral("missing/dir/x.csv")),
                      ResultLog::OpenMode::Truncate));
    QVERIFY(!log.failureText().isEmpty());
    QVERIFY(!log.isOpen());
}

void ResultLogFormatTest::probe() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.csv"));
    QVERIFY(!ResultLog::canRead(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(ResultLog::canRead(path));
    QVERIFY(!ResultLog::canRead(dir.path())); // a folder is no log file
    // Nor is a FIFO, and the probe does not open it (that would block for ever).
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!ResultLog::canRead(fifo));
}

QTEST_GUILESS_MAIN(ResultLogFormatTest)
#include "test_result_log_format.moc"
