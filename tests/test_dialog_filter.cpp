// The log dialog's filter is written as "description|pattern|..." and shown by a Qt dialog.
#include "platform/Dialogs.h"

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
};

QTEST_MAIN(DialogFilter)
#include "test_dialog_filter.moc"
