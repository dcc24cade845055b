// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/PointReading.h"

#include <QString>
#include <QStringList>

#include <array>
#include <complex>
#include <optional>

namespace analysis {

// What a measured parameter tells about the impedance Z = R + jX (admittance G + jB).
enum class ParameterClass {
    Reactance,   // X: Ls, Cs, Xs
    Susceptance, // B: Lp, Cp, Bp
    Resistance,  // R: Rs, ESR
    Conductance, // G: Rp, Gp
    LossRatio,   // D: DF, Q (unsigned, as instruments send them)
    Magnitude,   // M: Z, Y
    Phase,       // theta: P, in "deg" or "rad"
};

// The class of an instrument parameter (any case); nothing for DC parameters, "None" and
// parameters that say nothing about the impedance.
std::optional<ParameterClass> parameterClass(const QString& name);

// Whether two classes, in either order, fix the impedance: X-R, X-D, X-theta, B-G, B-D,
// B-theta, R-theta, G-theta, M-theta. The other pairs are ill-conditioned (X-B, X-M, B-M),
// have two roots or none (X-G, B-R) or lose the sign of X (R, G, M with D or each other).
bool pairFixesImpedance(ParameterClass first, ParameterClass second);

// The point's impedance at its frequency; nothing (and no failure) when its pair does not
// fix Z, a value is an overload or not a number, a unit is not the parameter's own, or the
// frequency is not positive.
std::optional<std::complex<double>> impedanceOf(const PointReading& reading);

// The derived quantities, in the order of their columns.
enum class Quantity {
    ImpedanceMagnitude, // |Z| (Ohm)
    PhaseDegrees,       // theta (deg)
    SeriesResistance,   // Rs (Ohm)
    SeriesReactance,    // Xs (Ohm)
    SeriesCapacitance,  // Cs (F)
    ParallelCapacitance,
    SeriesInductance,
    ParallelInductance,
    ParallelResistance,
    DissipationFactor, // D
    QualityFactor,     // Q
    Conductance,       // G (S)
    Susceptance,       // B (S)
    AdmittanceMagnitude,
};
inline constexpr int QuantityCount = 14;

struct QuantityInfo {
    Quantity quantity;
    const char* symbol;  // "|Z|", "theta", "Rs", ... for captions and axis titles
    const char* unit;    // "Ohm", "deg", "F", "H", "S" or "" for D and Q
    const char* header;  // the file column: "|Z| (Ohm)", "D", ...
    const char* jsonKey; // "z_ohm", "d", ...
};
const std::array<QuantityInfo, QuantityCount>& quantityTable();
const QuantityInfo& quantityInfo(Quantity quantity);
QStringList quantityHeaders();
QStringList quantityJsonKeys();

// Every quantity of one point, indexed by Quantity; NaN where a quantity is infinite at
// this point (Q of a lossless part, Lp where B is 0).
using QuantityValues = std::array<double, QuantityCount>;
QuantityValues quantitiesOf(std::complex<double> impedance, double frequencyHz);
std::optional<QuantityValues> quantitiesOf(const PointReading& reading);
inline double valueOf(const QuantityValues& values, Quantity quantity) {
    return values[static_cast<std::size_t>(quantity)];
}

// A derived value as a plain number, C locale, six significant digits ("%.5E", as the
// instrument's own: "1.59155E-07"); empty when the value is NaN or infinite.
QString formatQuantity(double value);
// One text per column, formatted; every text empty when there are no values.
QStringList formatQuantities(const std::optional<QuantityValues>& values);

} // namespace analysis
