// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep's frequency arithmetic on its own: worked tables, rounding, degenerate entries.
#include "numbers/Rounding.h"
#include "run/SweepStepping.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {
QList<int> toList(const std::vector<qint32>& frequencies) {
    return QList<int>(frequencies.begin(), frequencies.end());
}
} // namespace

class SweepSteppingTest : public QObject {
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void roundingToInt32_data();
    void roundingToInt32();
    void longestSweepEndsOnStop();
    void randomLinearSweepsRunFromStartToStop();
    void randomSweepsNeverEscapeTheirFailures();
};

void SweepSteppingTest::plan_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<bool>("fails");

    QTest::newRow("default linear")
        << 1000 << 100000 << 10 << false
        << QList<int>{1000, 10900, 20800, 30700, 40600, 50500, 60400, 70300, 80200, 90100, 100000}
        << false;
    QTest::newRow("default logarithmic")
        << 1000 << 100000 << 10 << true
        << QList<int>{1000, 1585, 2512, 3981, 6309, 9999, 15847, 25116, 39806, 63088, 99988}
        << false;
    QTest::newRow("half rounds to even, up")
        << 1000 << 1005 << 2 << false << QList<int>{1000, 1002, 1005} << false;
    QTest::newRow("half rounds to even, down")
        << 1000 << 1001 << 2 << false << QList<int>{1000, 1000, 1001} << false;
    QTest::newRow("half rounds to even, 1001.5")
        << 1000 << 1003 << 2 << false << QList<int>{1000, 1002, 1003} << false;
    QTest::newRow("negative half") << -3 << 0 << 2 << false << QList<int>{-3, -2, 0} << false;
    QTest::newRow("equal linear") << 5000 << 5000 << 3 << false
                                  << QList<int>{5000, 5000, 5000, 5000} << false;
    QTest::newRow("equal logarithmic")
        << 5000 << 5000 << 3 << true << QList<int>{5000, 5000, 5000, 5000} << false;
    QTest::newRow("descending linear")
        << 100000 << 1000 << 10 << false
        << QList<int>{100000, 90100, 80200, 70300, 60400, 50500, 40600, 30700, 20800, 10900, 1000}
        << false;
    QTest::newRow("descending logarithmic")
        << 100000 << 1000 << 10 << true
        << QList<int>{100000, 63096, 39811, 25119, 15849, 10000, 6310, 3981, 2512, 1585, 1000}
        << false;
    QTest::newRow("logarithmic errors accumulate")
        << 20 << 1000000 << 5 << true << QList<int>{20, 174, 1515, 13189, 114817, 999540} << false;
    QTest::newRow("logarithmic upward overshoot is the stop")
        << 10 << 2000000 << 10 << true
        << QList<int>{10, 34, 115, 390, 1322, 4481, 15187, 51472, 174451, 591257, 2000000} << false;
    QTest::newRow("logarithmic downward overshoot is the stop")
        << 100000 << 100 << 18 << true
        << QList<int>{100000, 68129, 46416, 31623, 21544, 14678, 10000, 6813, 4642, 3163,
                      2155,   1468,  1000,  681,   464,   316,   215,   146,  100}
        << false;
    QTest::newRow("logarithmic short of the stop keeps its value")
        << 20 << 2000000 << 10 << true
        << QList<int>{20, 63, 199, 629, 1989, 6290, 19891, 62901, 198910, 629009, 1989101} << false;
    QTest::newRow("one step linear")
        << 1000 << 100000 << 1 << false << QList<int>{1000, 100000} << false;
    QTest::newRow("zero steps linear fails")
        << 1000 << 100000 << 0 << false << QList<int>{} << true;
    QTest::newRow("zero steps logarithmic, one point")
        << 1000 << 100000 << 0 << true << QList<int>{1000} << false;
    QTest::newRow("negative steps, no point")
        << 1000 << 100000 << -1 << false << QList<int>{} << false;
    QTest::newRow("logarithmic start 0 fails at second point")
        << 0 << 100000 << 10 << true << QList<int>{0} << true;
    QTest::newRow("logarithmic stop 0 fails at second point")
        << 1000 << 0 << 10 << true << QList<int>{1000} << true;
    QTest::newRow("logarithmic negative start") << -5 << 100 << 2 << true << QList<int>{-5} << true;
    QTest::newRow("step count beyond 16 bits")
        << 1000 << 100000 << 32768 << false << QList<int>{} << true;
    QTest::newRow("step count below 16 bits")
        << 1000 << 100000 << -32769 << true << QList<int>{} << true;
    QTest::newRow("difference overflows 32 bits")
        << -2000000000 << 2000000000 << 10 << false << QList<int>{} << true;
    QTest::newRow("widest difference that fits")
        << -1073741824 << 1073741823 << 1 << false << QList<int>{-1073741824, 1073741823} << false;
}

void SweepSteppingTest::plan() {
    QFETCH(int, start);
    QFETCH(int, stop);
    QFETCH(int, steps);
    QFETCH(bool, logarithmic);
    QFETCH(QList<int>, expected);
    QFETCH(bool, fails);

    const SweepPlan plan = planSweep({start, stop, steps, logarithmic});
    QCOMPARE(toList(plan.frequencies), expected);
    QCOMPARE(!plan.failure.isEmpty(), fails);
}

void SweepSteppingTest::roundingToInt32_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("rounded");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("2.5 to 2") << 2.5 << true << 2;
    QTest::newRow("3.5 to 4") << 3.5 << true << 4;
    QTest::newRow("-2.5 to -2") << -2.5 << true << -2;
    QTest::newRow("2.4999 to 2") << 2.4999 << true << 2;
    QTest::newRow("largest") << 2147483647.4 << true << 2147483647;
    QTest::newRow("largest half goes over") << 2147483647.5 << false << 0;
    QTest::newRow("smallest half is even") << -2147483648.5 << true << -2147483647 - 1;
    QTest::newRow("below smallest") << -2147483648.6 << false << 0;
    QTest::newRow("nan") << nan << false << 0;
    QTest::newRow("infinity") << inf << false << 0;
    QTest::newRow("minus infinity") << -inf << false << 0;
}

void SweepSteppingTest::roundingToInt32() {
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, rounded);
    const std::optional<qint32> result = roundHalfEven<qint32>(value);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(*result, rounded);
}

void SweepSteppingTest::longestSweepEndsOnStop() {
    const SweepPlan plan = planSweep({1, 1000001, 32767, false});
    QVERIFY(plan.failure.isEmpty());
    QCOMPARE(plan.frequencies.size(), std::size_t{32768});
    QCOMPARE(plan.frequencies.back(), 1000001);
}

// Random entries, checked against what any linear sweep must satisfy.
void SweepSteppingTest::randomLinearSweepsRunFromStartToStop() {
    QRandomGenerator random(20261207);
    for (int round = 0; round < 2000; ++round) {
        const qint32 start = random.bounded(-1000000000, 1000000000);
        const qint32 stop = random.bounded(-1000000000, 1000000000);
        const qint32 steps = random.bounded(1, 200);
        const SweepPlan plan = planSweep({start, stop, steps, false});
        QVERIFY2(plan.failure.isEmpty(), qPrintable(plan.failure));
        QCOMPARE(plan.frequencies.size(), std::size_t(steps) + 1);
        QCOMPARE(plan.frequencies.front(), start);
        QCOMPARE(plan.frequencies.back(), stop);
        for (std::size_t i = 1; i < plan.frequencies.size(); ++i)
            QVERIFY(start <= stop ? plan.frequencies[i] >= plan.frequencies[i - 1]
                                  : plan.frequencies[i] <= plan.frequencies[i - 1]);
    }
}

// Whatever the entries, the arithmetic ends in frequencies or a failure, never in
// undefined conversions (the sanitizer build watches this).
void SweepSteppingTest::randomSweepsNeverEscapeTheirFailures() {
    QRandomGenerator random(42);
    for (int round = 0; round < 5000; ++round) {
        const auto any32 = [&] { return static_cast<qint32>(random.generate()); };
        const qint32 steps = static_cast<qint32>(random.bounded(-40, 40));
        const SweepPlan plan = planSweep({any32(), any32(), steps, random.bounded(2) == 1});
        QVERIFY(plan.frequencies.size() <= std::size_t(std::max(steps, 0)) + 1);
    }
}

QTEST_GUILESS_MAIN(SweepSteppingTest)
#include "test_sweep_stepping.moc"
