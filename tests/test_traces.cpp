// SPDX-License-Identifier: GPL-3.0-or-later
// The view's arithmetic without windows: engineering notation, the reference reader, the
// deviation's interpolation and the markers' search.
#include "export/SweepColumns.h"
#include "numbers/EngineeringNotation.h"
#include "traces/Deviation.h"
#include "traces/ReferenceReader.h"
#include "traces/TraceSearch.h"

#include <QtTest>

#include <cmath>

class TracesTest : public QObject {
    Q_OBJECT
private slots:
    void engineering_data();
    void engineering();
    void reader_data();
    void reader();
    void interpolation_data();
    void interpolation();
    void markerSearch();
};

void TracesTest::engineering_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("femto") << "1.5E-15"
                           << "F"
                           << "1.5 fF";
    QTest::newRow("nano, the instrument's digits") << "+1.00000E-07"
                                                   << "F"
                                                   << "100.000 nF";
    QTest::newRow("micro") << "4.7E-6"
                           << "H"
                           << "4.7 µH";
    QTest::newRow("Ohm is Ω") << "0.0125"
                              << "Ohm"
                              << "12.5 mΩ";
    QTest::newRow("kilo") << "10000"
                          << "Hz"
                          << "10.000 kHz";
    QTest::newRow("giga") << "2.5E9"
                          << "Hz"
                          << "2.5 GHz";
    QTest::newRow("negative") << "-1.5E-3"
                              << "Ohm"
                              << "-1.5 mΩ";
    QTest::newRow("zero") << "0"
                          << "F"
                          << "0 F";
    QTest::newRow("overload") << "9.9E+37"
                              << "F"
                              << "overload";
    QTest::newRow("no unit, plain") << "0.0123"
                                    << ""
                                    << "0.0123";
    QTest::newRow("degrees, plain") << "-89.5"
                                    << "deg"
                                    << "-89.5 deg";
    QTest::newRow("beyond giga") << "1E12"
                                 << "Hz"
                                 << "1e+12 Hz";
    QTest::newRow("no number") << "----"
                               << "F"
                               << "----";
    // Axis ticks: three significant digits, rounded across a prefix.
    QCOMPARE(EngineeringNotation::format(999.96, "Hz"), QString("1 kHz"));
}

void TracesTest::engineering() {
    QFETCH(QString, text);
    QFETCH(QString, unit);
    QFETCH(QString, expected);
    QCOMPARE(EngineeringNotation::readout(text, unit), expected);
}

void TracesTest::reader_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("traces");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("problem");
    const QByteArray header = "Point,Frequency (Hz),Primary parameter,Primary value,Primary unit,"
                              "Secondary parameter,Secondary value,Secondary unit";
    QTest::newRow("table, CR LF") << header + "\r\n1,1000,Cs,1E-9,F,DF,0.01,\r\n" << 1 << 0 << "";
    QTest::newRow("wider table with steps")
        << header + ",Step\n1,1000,Cs,1E-9,F,DF,0.01,,1\n2,1000,Cs,2E-9,F,DF,None,,2\n"
        << 2 << 0 << "";
    QTest::newRow("table with the derived columns, some empty")
        << SweepColumns::headers().join(',').toUtf8() + "\n1,1000,Cs,1E-9,F,DF,0.01," +
               QByteArray(",1.59155E+05").repeated(14) + "\n2,2000,Cs,1E-9,F,DF,----," +
               QByteArray(",").repeated(14) + "\n"
        << 1 << 0 << "";
    QTest::newRow("result log, a frequency turning back starts a trace")
        << QByteArray("Start Log ,1/2/26,10:00\n1000,Cs,1E-9,F,DF,0.01,\n2000,Cs,1E-9,F,DF,0.01,\n"
                      "1000,Cs,1E-9,F,DF,0.01,\nCs,1E-9,F,DF,0.01,\n1000,Ls,1E-3,H,Q,5,\n")
        << 3 << 0 << "";
    QTest::newRow("JSON lines")
        << QByteArray("{\"point\":1,\"frequency_hz\":1000,\"primary\":\"Cs\",\"primary_value\":"
                      "\"1E-9\",\"primary_unit\":\"F\"}\n")
        << 1 << 0 << "";
    QTest::newRow("JSON lines of a stepped bias sweep: a trace a step")
        << QByteArray("{\"frequency_hz\":1000,\"primary_value\":\"1\",\"bias_v\":0,\"step\":1}\n"
                      "{\"frequency_hz\":1000,\"primary_value\":\"1\",\"bias_v\":0,\"step\":2}\n")
        << 2 << 0 << "";
    QTest::newRow("no header") << QByteArray("hello\n") << 0 << 1 << "no recognisable header";
    QTest::newRow("too few fields") << header + "\n1,1000,Cs\n"
                                    << 0 << 2 << "a row with 3 fields, fewer than the header's";
    QTest::newRow("frequency no number") << header + "\n1,x,Cs,1E-9,F,DF,0.01,\n"
                                         << 0 << 2 << "the frequency \"x\" is not a number";
    QTest::newRow("bias table, volts no number") << header + ",Bias (V)\n1,1000,Cs,1E-9,F,DF,1,,x\n"
                                                 << 0 << 2 << "the bias \"x\" is not a number";
    QTest::newRow("no value") << header + "\n1,1000,Cs,----,F,DF,None,\n"
                              << 0 << 2 << "no number in the value columns";
    QTest::newRow("bad UTF-8") << header + "\n1,1000,Cs,1E-9,\xff,DF,0.01,\n"
                               << 0 << 2 << "not UTF-8 text";
    QTest::newRow("too many rows") << header + QByteArray("\n1,1000,Cs,1,F,DF,1,").repeated(100001)
                                   << 0 << 100002 << "more than 100,000 rows";
}

void TracesTest::reader() {
    QFETCH(QByteArray, bytes);
    const ReferenceFile file = ReferenceReader::parse(bytes, QStringLiteral("golden"));
    QTEST(static_cast<int>(file.traces.size()), "traces");
    QTEST(file.line, "line");
    QTEST(file.problem, "problem");
}

void TracesTest::interpolation_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("expected"); // NaN: none
    QTest::newRow("on a point") << 1000.0 << 10.0;
    QTest::newRow("halfway in log frequency") << std::sqrt(1000.0 * 100000.0) << 15.0;
    QTest::newRow("below the range") << 999.0 << double(NAN);
    QTest::newRow("above the range") << 100001.0 << double(NAN);
}

void TracesTest::interpolation() {
    QFETCH(double, frequency);
    QFETCH(double, expected);
    // Measured downwards: the order does not matter.
    const std::optional<double> at =
        Deviation::interpolate({100000.0, 1000.0}, {20.0, 10.0}, frequency);
    QCOMPARE(at.has_value(), !std::isnan(expected));
    if (at)
        QVERIFY(qFuzzyCompare(*at, expected));
    QCOMPARE(*Deviation::of(11.0, 10.0, false), 10.0);
    QCOMPARE(*Deviation::of(-80.0, -90.0, true), 10.0);
    QVERIFY(!Deviation::of(1.0, 0.0, false));
}

void TracesTest::markerSearch() {
    const std::vector<double> f{1000, 2000, 3000, 4000};
    const std::vector<double> v{5, NAN, 9, 1};
    QCOMPARE(*TraceSearch::nearest(f, v, 1600), std::size_t(0)); // 2000 holds no number
    QCOMPARE(*TraceSearch::extreme(v, true), std::size_t(2));
    QCOMPARE(*TraceSearch::extreme(v, false), std::size_t(3));
    QCOMPARE(TraceSearch::neighbour(f, v, 0, 1), std::size_t(2));
    QCOMPARE(TraceSearch::neighbour(f, v, 3, 1), std::size_t(3)); // at the end it stays
    QVERIFY(!TraceSearch::extreme({NAN}, true));
}

QTEST_GUILESS_MAIN(TracesTest)
#include "test_traces.moc"
