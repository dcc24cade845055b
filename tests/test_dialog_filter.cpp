// SPDX-License-Identifier: GPL-3.0-or-later
// The log dialog's filter is written as "description|pattern|..." and shown by a Qt dialog;
// a message's long lines are elided in the middle.
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QtTest>

class DialogFilter : public QObject {
    Q_OBJECT
private slots:
    void convertsToQtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the log dialog's filter")
            << "Csv files (*.csv)|*.csv| All Files (*.*)|*.*|"
            << QStringList{"Csv files (*.csv)", "All Files (*.*)"};
        QTest::newRow("pattern added when the description lacks it")
            << "Text|*.txt" << QStringList{"Text (*.txt)"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("odd piece ignored")
            << "Csv files (*.csv)|*.csv|dangling" << QStringList{"Csv files (*.csv)"};
    }
    void convertsToQtNameFilters() {
        QFETCH(QString, filter);
        QTEST(toQtNameFilters(filter), "expected");
    }
    void longLineElidedInTheMiddle() {
        const QString path = "/dev/" + QString(295, QLatin1Char('x')) + "END";
        const QFontMetrics metrics(QApplication::font());
        const QStringList lines =
            elidedLines("Comm port " + path + " not available\nshort", metrics, 300).split('\n');
        QVERIFY(lines.at(0).startsWith("Comm port /dev/x") && lines.at(0).contains(QChar(0x2026)) &&
                lines.at(0).endsWith("END not available"));
        QCOMPARE(lines.at(1), QString("short"));
    }
};

QTEST_MAIN(DialogFilter)
#include "test_dialog_filter.moc"
