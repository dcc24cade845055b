// SPDX-License-Identifier: GPL-3.0-or-later
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

const QStringList parameters{"Ls", "Cs", "Xs", "Lp", "Cp", "Bp", "Rs", "ESR",
                             "Rp", "Gp", "DF", "Q",  "Z",  "Y",  "P"};

// The same sweep noise-free (every element within 0.5 %) and with sigma = 0.5 % on |Z|
// (within 3 %), named by the model, its elements and the parameter pair.
void addFitRows(SyntheticSweep sweep) {
    QString name = circuitModelName(sweep.model);
    for (double value : sweep.values)
        name += ' ' + QString::number(value);
    name += ' ' + sweep.pair;
    QTest::addRow("%s, noise-free", qPrintable(name)) << sweep << 0.005 << QString() << QString();
    sweep.noisePercent = 0.5;
    sweep.seed = 7;
    QTest::addRow("%s, noise 0.5 %%", qPrintable(name)) << sweep << 0.03 << QString() << QString();
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void noImpedance_data();
    void noImpedance();
    void quantityTexts();
    void spiceNumbers();
    void fit_data();
    void fit();
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
    const auto value = [&](const QString& name) {
        return QString::number(valueOf(quantities, *quantityOfParameter(name)), 'g', 17);
    };
    const auto unit = [](const QString& name) {
        return QLatin1String(quantityInfo(*quantityOfParameter(name)).unit);
    };
    int fixing = 0;
    for (const QString& first : parameters)
        for (const QString& second : parameters) {
            const auto back = impedanceOf(
                {frequency, first, value(first), unit(first), second, value(second), unit(second)});
            if (!pairFixesImpedance(*parameterClass(first), *parameterClass(second))) {
                QVERIFY2(!back, qPrintable(first + '-' + second));
                continue;
            }
            ++fixing;
            QVERIFY2(back && std::abs(*back - z) <= 1e-9 * std::abs(z),
                     qPrintable(first + '-' + second));
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
    QCOMPARE(formatQuantities(quantitiesOf(reading)), QStringList(QuantityCount, QString()));
}

// 10 ohm with 100 nF in series at 1 kHz, as the instrument reads it (the simulator's
// reference values, worked out by hand) and a PX80 line end left on the last unit.
void TestAnalysis::quantityTexts() {
    const PointReading reading{1000.0, "Cs", "1.00000E-07", "F", "DF", "6.28319E-03", "\r\n"};
    QCOMPARE(
        formatQuantities(quantitiesOf(reading)),
        (QStringList{"1.59158E+03", "-8.96400E+01", "1.00000E+01", "-1.59155E+03", "1.00000E-07",
                     "9.99961E-08", "-2.53303E-01", "-2.53313E-01", "2.53313E+05", "6.28319E-03",
                     "1.59155E+02", "3.94769E-06", "6.28294E-04", "6.28306E-04"}));
}

void TestAnalysis::spiceNumbers() {
    QCOMPARE(spiceNumber(1.5915494e-8), "15.9155n");
    QCOMPARE(spiceNumber(-2.2e6), "-2.2Meg");
    QCOMPARE(spiceNumber(999.9996), "1k");
    QCOMPARE(spiceNumber(47.0), "47");
}

void TestAnalysis::fit_data() {
    QTest::addColumn<SyntheticSweep>("sweep");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("model"); // the model fitted, when not the sweep's own
    using S = SyntheticSweep;
    addFitRows(S::of("series-rc", {0.01, 1e-3}, 10, 1e5, 101, true, "Cs-DF"));
    addFitRows(S::of("series-rc", {1e3, 10e-12}, 1e3, 1e6, 101, true, "Z-P"));
    addFitRows(S::of("parallel-rc", {10e6, 10e-12}, 100, 1e5, 101, true, "Z-P"));
    addFitRows(S::of("parallel-rc", {100, 1e-6}, 100, 1e5, 101, true, "Cs-DF"));
    addFitRows(S::of("series-rl", {0.01, 1e-6}, 1e3, 1e6, 101, true, "Ls-Q"));
    addFitRows(S::of("series-rl", {1, 1e-3}, 16e3, 160e3, 101, true, "Ls-Q"));
    addFitRows(S::of("series-rl", {100, 10e-3}, 100, 1e5, 101, true, "Z-P"));
    addFitRows(S::of("parallel-rl", {1e6, 1e-3}, 1e3, 1e6, 101, true, "Z-P"));
    addFitRows(S::of("parallel-rl", {10, 10e-6}, 1e4, 1e6, 101, true, "Lp-Rp"));
    addFitRows(S::of("series-rlc", {0.1, 10e-9, 10e-6}, 1e4, 2e6, 201, true, "Z-P"));
    addFitRows(S::of("series-rlc", {10, 1e-3, 100e-9}, 1e3, 1e5, 401, true, "Cs-DF"));
    addFitRows(S::of("rl-parallel-c", {10, 100e-6, 1e-9}, 3e5, 8e5, 401, false, "Z-P"));
    addFitRows(S::of("rl-parallel-c", {2, 1e-3, 22e-12}, 1.071e6, 1.075e6, 201, false, "Ls-Rs"));
    addFitRows(S::of("crystal", {50, 8e-3, 15e-12, 150e-12}, 4.5e5, 4.9e5, 1001, false, "Z-P"));
    addFitRows(S::of("crystal", {5, 1e-3, 1e-9, 20e-9}, 1.5e5, 1.7e5, 501, false, "Xs-Rs"));

    QTest::newRow("no impedance: Rs with Q")
        << S::of("series-rc", {10, 1e-6}, 100, 1e4, 11, true, "Rs-Q") << 0.0
        << "No point has an impedance" << QString();
    QTest::newRow("fewer points than elements + 1")
        << S::of("series-rlc", {10, 1e-3, 1e-7}, 100, 1e4, 3, true, "Z-P") << 0.0
        << "The series-rlc model needs at least 4 points with an impedance; the sweep has 3."
        << QString();
    QTest::newRow("resonance outside the sweep")
        << S::of("series-rlc", {10, 1e-9, 1e-6}, 100, 1e3, 51, true, "Z-P") << 0.0
        << "The sweep does not determine L of the series-rlc model" << QString();
    // The best crystal for a series circuit has C0 = 0, which the solver chases without end.
    QTest::newRow("solver does not converge")
        << S::of("series-rlc", {10, 1e-3, 100e-9}, 1e3, 1e5, 401, true, "Cs-DF") << 0.0
        << "The fit of the crystal model did not converge"
        << "crystal";
    QTest::newRow("one frequency") << S::of("series-rc", {10, 1e-6}, 1e3, 1e3, 11, true, "Z-P")
                                   << 0.0 << "Every point has the same frequency" << QString();
}

void TestAnalysis::fit() {
    QFETCH(SyntheticSweep, sweep);
    QFETCH(double, tolerance);
    QFETCH(QString, failure);
    QFETCH(QString, model);
    const FitOutcome outcome =
        fitCircuit(circuitModelFromName(model).value_or(sweep.model), sweep.readings());
    if (!failure.isEmpty()) {
        QVERIFY(!outcome.ok());
        QVERIFY2(outcome.failure.startsWith(failure), qPrintable(outcome.failure));
        return;
    }
    QVERIFY2(outcome.ok(), qPrintable(outcome.failure));
    QCOMPARE(outcome.result->points, sweep.points);
    for (std::size_t i = 0; i < sweep.values.size(); ++i) {
        const NamedValue& element = outcome.result->parameters[i];
        QVERIFY2(std::fabs(element.value / sweep.values[i] - 1.0) <= tolerance,
                 qPrintable(element.name + " = " + QString::number(element.value)));
    }
    QVERIFY(spiceSubcircuit(*outcome.result)
                .contains(".SUBCKT " + circuitModelName(sweep.model) + " 1 2\n"));
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
