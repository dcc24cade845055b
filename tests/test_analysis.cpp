// The analysis of a sweep: every quantity of a point's impedance, and equivalent circuits
// fitted to synthetic sweeps formatted as the instrument formats them.

#include "analysis/CircuitFit.h"
#include "analysis/ImpedanceQuantities.h"
#include "analysis/SpiceSubcircuit.h"
#include "support/SyntheticSweep.h"

#include <QTest>

#include <cmath>

using namespace analysis;

Q_DECLARE_METATYPE(SyntheticSweep)

namespace {

// Each instrument parameter and the derived quantity that reads the same.
const std::vector<std::pair<QString, Quantity>> parameterQuantities{
    {"Ls", Quantity::SeriesInductance},    {"Cs", Quantity::SeriesCapacitance},
    {"Xs", Quantity::SeriesReactance},     {"Lp", Quantity::ParallelInductance},
    {"Cp", Quantity::ParallelCapacitance}, {"Bp", Quantity::Susceptance},
    {"Rs", Quantity::SeriesResistance},    {"ESR", Quantity::SeriesResistance},
    {"Rp", Quantity::ParallelResistance},  {"Gp", Quantity::Conductance},
    {"DF", Quantity::DissipationFactor},   {"Q", Quantity::QualityFactor},
    {"Z", Quantity::ImpedanceMagnitude},   {"Y", Quantity::AdmittanceMagnitude},
    {"P", Quantity::PhaseDegrees},
};

SyntheticSweep sweepOf(const char* model, std::vector<double> values, double startHz, double stopHz,
                       int points, bool logarithmic, const char* pair) {
    SyntheticSweep sweep;
    sweep.model = *circuitModelFromName(QLatin1String(model));
    sweep.values = std::move(values);
    sweep.startHz = startHz;
    sweep.stopHz = stopHz;
    sweep.points = points;
    sweep.logarithmic = logarithmic;
    sweep.pair = QLatin1String(pair);
    return sweep;
}

// The same sweep noise-free (every element within 0.5 %) and with sigma = 0.5 % on |Z|
// (within 3 %).
void addFitRows(const char* name, SyntheticSweep sweep) {
    QTest::addRow("%s, noise-free", name) << sweep << 0.005;
    sweep.noisePercent = 0.5;
    sweep.seed = 7;
    QTest::addRow("%s, noise 0.5 %%", name) << sweep << 0.03;
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void noImpedance_data();
    void noImpedance();
    void numberTexts_data();
    void numberTexts();
    void fitRecovers_data();
    void fitRecovers();
    void fitFails_data();
    void fitFails();
};

void TestAnalysis::roundTrip_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("resistance");
    QTest::addColumn<double>("reactance");
    QTest::newRow("100 Hz capacitive") << 100.0 << 0.8 << -1592.0;
    QTest::newRow("100 Hz inductive") << 100.0 << 2.0 << 0.063;
    QTest::newRow("10 kHz capacitive") << 1e4 << 1e5 << -2e4;
    QTest::newRow("10 kHz inductive") << 1e4 << 12.0 << 628.0;
    QTest::newRow("1 MHz capacitive") << 1e6 << 0.02 << -0.16;
    QTest::newRow("1 MHz inductive") << 1e6 << 3e3 << 6.3e5;
}

// Impedance -> every pair of parameters -> impedance; the pairs that do not fix Z give none.
void TestAnalysis::roundTrip() {
    QFETCH(double, frequency);
    QFETCH(double, resistance);
    QFETCH(double, reactance);
    const std::complex<double> z(resistance, reactance);
    const QuantityValues quantities = quantitiesOf(z, frequency);
    int fixing = 0;
    for (const auto& [first, firstQuantity] : parameterQuantities)
        for (const auto& [second, secondQuantity] : parameterQuantities) {
            const PointReading reading{
                frequency,
                first,
                QString::number(valueOf(quantities, firstQuantity), 'g', 17),
                QLatin1String(quantityInfo(firstQuantity).unit),
                second,
                QString::number(valueOf(quantities, secondQuantity), 'g', 17),
                QLatin1String(quantityInfo(secondQuantity).unit)};
            const auto back = impedanceOf(reading);
            const QString pair = first + '-' + second;
            if (!pairFixesImpedance(*parameterClass(first), *parameterClass(second))) {
                QVERIFY2(!back, qPrintable(pair));
                continue;
            }
            ++fixing;
            QVERIFY2(back && std::abs(*back - z) <= 1e-9 * std::abs(z), qPrintable(pair));
        }
    // The nine pairs of classes, each pair of names in both orders.
    QCOMPARE(fixing, 72);
}

void TestAnalysis::noImpedance_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("DC parameter") << QStringList{"DCR", "1.00000E+01", "Ohm", "Q", "1.0", ""};
    QTest::newRow("secondary None") << QStringList{"Cs", "1.00000E-07", "F", "None", "", ""};
    QTest::newRow("lone value") << QStringList{"Cs", "1.00000E-07", "F", "", "", ""};
    QTest::newRow("overload") << QStringList{"Cs", "9.90000E+37", "F", "DF", "1.0E-03", ""};
    QTest::newRow("not a number") << QStringList{"Z", "----", "Ohm", "P", "-4.5E+01", "deg"};
    QTest::newRow("phase in grad") << QStringList{"Z", "1.0E+03", "Ohm", "P", "-50", "grad"};
    QTest::newRow("prefixed unit") << QStringList{"Ls", "1.0", "mH", "Q", "1.0E+01", ""};
    QTest::newRow("Rs with Q: sign lost") << QStringList{"Rs", "1.0", "Ohm", "Q", "1.0", ""};
}

void TestAnalysis::noImpedance() {
    QFETCH(QStringList, fields);
    const PointReading reading{1000.0,    fields[0], fields[1], fields[2],
                               fields[3], fields[4], fields[5]};
    QVERIFY(!quantitiesOf(reading));
    QCOMPARE(formatQuantities(quantitiesOf(reading)), QStringList(QuantityCount, QString()));
}

void TestAnalysis::numberTexts_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("spice");
    QTest::newRow("nano") << 1.5915494e-8 << "1.59155E-08"
                          << "15.9155n";
    QTest::newRow("mega is Meg") << -2.2e6 << "-2.20000E+06"
                                 << "-2.2Meg";
    QTest::newRow("rounds up to the next suffix") << 999.9996 << "1.00000E+03"
                                                  << "1k";
    QTest::newRow("infinite: empty") << qInf() << ""
                                     << "0";
}

void TestAnalysis::numberTexts() {
    QFETCH(double, value);
    QFETCH(QString, plain);
    QFETCH(QString, spice);
    QCOMPARE(formatQuantity(value), plain);
    QCOMPARE(spiceNumber(value), spice);
}

void TestAnalysis::fitRecovers_data() {
    QTest::addColumn<SyntheticSweep>("sweep");
    QTest::addColumn<double>("tolerance");
    addFitRows("series-rc 10 mOhm 1 mF",
               sweepOf("series-rc", {0.01, 1e-3}, 10, 1e5, 101, true, "Cs-DF"));
    addFitRows("series-rc 1 kOhm 10 pF",
               sweepOf("series-rc", {1e3, 10e-12}, 1e3, 1e6, 101, true, "Z-P"));
    addFitRows("parallel-rc 10 MOhm 10 pF",
               sweepOf("parallel-rc", {10e6, 10e-12}, 100, 1e5, 101, true, "Z-P"));
    addFitRows("parallel-rc 100 Ohm 1 uF",
               sweepOf("parallel-rc", {100, 1e-6}, 100, 1e5, 101, true, "Cs-DF"));
    addFitRows("series-rl 10 mOhm 1 uH",
               sweepOf("series-rl", {0.01, 1e-6}, 1e3, 1e6, 101, true, "Ls-Q"));
    addFitRows("series-rl 100 Ohm 10 mH",
               sweepOf("series-rl", {100, 10e-3}, 100, 1e5, 101, true, "Z-P"));
    addFitRows("parallel-rl 1 MOhm 1 mH",
               sweepOf("parallel-rl", {1e6, 1e-3}, 1e3, 1e6, 101, true, "Z-P"));
    addFitRows("parallel-rl 10 Ohm 10 uH",
               sweepOf("parallel-rl", {10, 10e-6}, 1e4, 1e6, 101, true, "Ls-Q"));
    addFitRows("series-rlc 0.1 Ohm 10 nH 10 uF",
               sweepOf("series-rlc", {0.1, 10e-9, 10e-6}, 1e4, 2e6, 201, true, "Z-P"));
    addFitRows("series-rlc Q 10 at 15.9 kHz",
               sweepOf("series-rlc", {10, 1e-3, 100e-9}, 1e3, 1e5, 401, true, "Cs-DF"));
    addFitRows("rl-parallel-c Q 32 at 503 kHz",
               sweepOf("rl-parallel-c", {10, 100e-6, 1e-9}, 3e5, 8e5, 401, false, "Z-P"));
    addFitRows("rl-parallel-c Q 3370 at 1.07 MHz",
               sweepOf("rl-parallel-c", {2, 1e-3, 22e-12}, 1.071e6, 1.075e6, 201, false, "Z-P"));
    addFitRows("crystal 459 kHz, C0 150 pF",
               sweepOf("crystal", {50, 8e-3, 15e-12, 150e-12}, 4.5e5, 4.9e5, 1001, false, "Z-P"));
    addFitRows("crystal 159 kHz, C0 20 nF",
               sweepOf("crystal", {5, 1e-3, 1e-9, 20e-9}, 1.5e5, 1.7e5, 501, false, "Rs-Xs"));
}

void TestAnalysis::fitRecovers() {
    QFETCH(SyntheticSweep, sweep);
    QFETCH(double, tolerance);
    const FitOutcome outcome = fitCircuit(sweep.model, sweep.readings());
    QVERIFY2(outcome.ok(), qPrintable(outcome.failure));
    const FitResult& result = *outcome.result;
    QCOMPARE(result.points, sweep.points);
    for (std::size_t i = 0; i < sweep.values.size(); ++i) {
        const double error = result.parameters[i].value / sweep.values[i] - 1.0;
        QVERIFY2(
            std::fabs(error) <= tolerance,
            qPrintable(
                QStringLiteral("%1 off by %2 %").arg(result.parameters[i].name).arg(100 * error)));
    }
    QVERIFY(
        spiceSubcircuit(result).contains(".SUBCKT " + circuitModelName(sweep.model) + " 1 2\n"));
}

void TestAnalysis::fitFails_data() {
    QTest::addColumn<SyntheticSweep>("sweep");
    QTest::addColumn<QString>("message");
    QTest::newRow("no impedance: Rs with Q")
        << sweepOf("series-rc", {10, 1e-6}, 100, 1e4, 11, true, "Rs-Q")
        << "No point has an impedance";
    QTest::newRow("fewer points than elements + 1")
        << sweepOf("series-rlc", {10, 1e-3, 1e-7}, 100, 1e4, 3, true, "Z-P")
        << "The series-rlc model needs at least 4 points with an impedance; the sweep has 3.";
    QTest::newRow("resonance outside the sweep: L undetermined")
        << sweepOf("series-rlc", {10, 1e-9, 1e-6}, 100, 1e3, 51, true, "Z-P")
        << "The sweep does not determine L of the series-rlc model";
    QTest::newRow("one frequency") << sweepOf("series-rc", {10, 1e-6}, 1e3, 1e3, 11, true, "Z-P")
                                   << "Every point has the same frequency";
}

void TestAnalysis::fitFails() {
    QFETCH(SyntheticSweep, sweep);
    QFETCH(QString, message);
    const FitOutcome outcome = fitCircuit(sweep.model, sweep.readings());
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.failure.startsWith(message), qPrintable(outcome.failure));
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
