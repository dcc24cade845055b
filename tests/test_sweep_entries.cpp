// SPDX-License-Identifier: GPL-3.0-or-later
// The run's reading of the sweep entries typed into the configuration window.
#include "run/SweepEntries.h"

#include <QtTest>

#include <exception>

class SweepEntriesTest : public QObject {
    Q_OBJECT
private slots:
    void reading_data();
    void reading();
};

void SweepEntriesTest::reading_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("startHz");
    QTest::addColumn<int>("stopHz");
    QTest::addColumn<int>("stepCount");

    QTest::newRow("defaults") << "1000"
                              << "100000"
                              << "10" << true << 1000 << 100000 << 10;
    QTest::newRow("kilo suffix") << "10k"
                                 << "100K"
                                 << "10" << true << 10000 << 100000 << 10;
    QTest::newRow("mega suffix") << "1.5M"
                                 << "2m"
                                 << "4" << true << 1500000 << 2000000 << 4;
    QTest::newRow("blanks around") << " 1000 "
                                   << " 2000"
                                   << " 3 " << true << 1000 << 2000 << 3;
    QTest::newRow("halves to even") << "2500.5"
                                    << "2501.5"
                                    << "10.5" << true << 2500 << 2502 << 10;
    QTest::newRow("exponent") << "1e3"
                              << "1E5"
                              << "1e1" << true << 1000 << 100000 << 10;
    QTest::newRow("start not a number") << "abc"
                                        << "100000"
                                        << "10" << false << 0 << 0 << 0;
    QTest::newRow("stop empty") << "1000"
                                << ""
                                << "10" << false << 0 << 0 << 0;
    QTest::newRow("steps with suffix") << "1000"
                                       << "100000"
                                       << "10k" << false << 0 << 0 << 0;
    QTest::newRow("group separator") << "1,000"
                                     << "100000"
                                     << "10" << false << 0 << 0 << 0;
    QTest::newRow("start beyond 32 bits") << "3e9"
                                          << "100000"
                                          << "10" << false << 0 << 0 << 0;
    QTest::newRow("steps beyond 32 bits") << "1000"
                                          << "100000"
                                          << "5e9" << false << 0 << 0 << 0;
}

void SweepEntriesTest::reading() {
    QFETCH(QString, start);
    QFETCH(QString, stop);
    QFETCH(QString, steps);
    QFETCH(bool, read);
    try {
        const SweepSettings settings = readSweepEntries(start, stop, steps, true);
        QVERIFY(read);
        QTEST(int(settings.start), "startHz");
        QTEST(int(settings.stop), "stopHz");
        QTEST(int(settings.steps), "stepCount");
        QVERIFY(settings.logarithmic);
    } catch (const std::exception& e) {
        QVERIFY2(!read, e.what());
    }
}

QTEST_GUILESS_MAIN(SweepEntriesTest)
#include "test_sweep_entries.moc"
