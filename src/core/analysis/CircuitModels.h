// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <complex>
#include <optional>
#include <vector>

namespace analysis {

// The equivalent circuits a sweep can be fitted with.
enum class CircuitModel {
    SeriesRc,    // "series-rc": R in series with C
    ParallelRc,  // "parallel-rc": R in parallel with C
    SeriesRl,    // "series-rl": R in series with L
    ParallelRl,  // "parallel-rl": R in parallel with L
    SeriesRlc,   // "series-rlc": R, L and C in series (a capacitor with ESR and ESL)
    RlParallelC, // "rl-parallel-c": R and L in series, C across both (an inductor)
    Crystal,     // "crystal": R1, L1 and C1 in series, C0 across them
};

// A named value in SI base units: a fitted element ("R", "C1"), or one derived from them
// ("f0", "Q"). unit is "Ohm", "F", "H", "Hz" or empty.
struct NamedValue {
    QString name;
    double value = 0.0;
    QString unit;
};

// The seven model names in the order above, as the command line and the chooser spell them.
QStringList circuitModelNames();
QString circuitModelName(CircuitModel model);
std::optional<CircuitModel> circuitModelFromName(const QString& name);

// The fitted elements' names and units, in the order values are given: R, C; R, L;
// R, L, C; crystal R1, L1, C1, C0.
QStringList modelParameterNames(CircuitModel model);
QStringList modelParameterUnits(CircuitModel model);
int modelParameterCount(CircuitModel model);

// The model's impedance at frequencyHz with element values in that order.
std::complex<double> modelImpedance(CircuitModel model, const std::vector<double>& values,
                                    double frequencyHz);
// The same for the fit's inner loop: values points at modelParameterCount doubles.
std::complex<double> modelImpedanceAtOmega(CircuitModel model, const double* values, double omega);

// The values derived from the elements: series-rlc and rl-parallel-c f0 and Q; crystal fs,
// fp and Q; nothing for the two-element models.
std::vector<NamedValue> derivedModelValues(CircuitModel model, const std::vector<double>& values);

// The model's curve: count points from startHz to stopHz, evenly spaced or (logarithmic)
// evenly spaced in log f. count < 2 or a range that is not positive gives nothing.
struct CurvePoint {
    double frequencyHz = 0.0;
    std::complex<double> impedance;
};
std::vector<CurvePoint> modelCurve(CircuitModel model, const std::vector<double>& values,
                                   double startHz, double stopHz, int count, bool logarithmic);

} // namespace analysis
