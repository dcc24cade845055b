// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ImpedanceQuantities.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace analysis {

namespace {

using Complex = std::complex<double>;
constexpr double pi = 3.14159265358979323846;
// The value instruments send for an overload (and for an infinite DC reading).
constexpr double overloadReading = 9.9e37;

// How a parameter's value becomes its class's quantity at angular frequency omega.
enum class Conversion {
    Same,                // Xs, Bp, Rs, ESR, Gp, DF, Z
    TimesOmega,          // Ls -> X = omega L, Cp -> B = omega C
    MinusInverseOmegaOf, // Cs -> X = -1/(omega C), Lp -> B = -1/(omega L)
    Inverse,             // Rp -> G, Q -> D, Y -> |Z|
    Angle,               // P, by its unit
};

struct ParameterRule {
    const char* name;
    ParameterClass parameterClass;
    Conversion conversion;
    const char* unit;
};

const std::array<ParameterRule, 15> parameterRules{{
    {"Ls", ParameterClass::Reactance, Conversion::TimesOmega, "H"},
    {"Cs", ParameterClass::Reactance, Conversion::MinusInverseOmegaOf, "F"},
    {"Xs", ParameterClass::Reactance, Conversion::Same, "Ohm"},
    {"Lp", ParameterClass::Susceptance, Conversion::MinusInverseOmegaOf, "H"},
    {"Cp", ParameterClass::Susceptance, Conversion::TimesOmega, "F"},
    {"Bp", ParameterClass::Susceptance, Conversion::Same, "S"},
    {"Rs", ParameterClass::Resistance, Conversion::Same, "Ohm"},
    {"ESR", ParameterClass::Resistance, Conversion::Same, "Ohm"},
    {"Rp", ParameterClass::Conductance, Conversion::Inverse, "Ohm"},
    {"Gp", ParameterClass::Conductance, Conversion::Same, "S"},
    {"DF", ParameterClass::LossRatio, Conversion::Same, ""},
    {"Q", ParameterClass::LossRatio, Conversion::Inverse, ""},
    {"Z", ParameterClass::Magnitude, Conversion::Same, "Ohm"},
    {"Y", ParameterClass::Magnitude, Conversion::Inverse, "S"},
    {"P", ParameterClass::Phase, Conversion::Angle, "deg"},
}};

const ParameterRule* ruleFor(const QString& name) {
    const QStringView wanted = QStringView(name).trimmed();
    for (const ParameterRule& rule : parameterRules) {
        const QLatin1String ruleName(rule.name);
        if (wanted.size() == ruleName.size() && wanted.compare(ruleName, Qt::CaseInsensitive) == 0)
            return &rule;
    }
    return nullptr;
}

// The pairs that fix Z, each with how: the first argument is the first class's quantity.
struct FixingPair {
    ParameterClass first;
    ParameterClass second;
    Complex (*impedance)(double first, double second);
};

Complex fromAdmittance(Complex admittance) {
    return 1.0 / admittance;
}

const std::array<FixingPair, 9> fixingPairs{{
    {ParameterClass::Reactance, ParameterClass::Resistance,
     [](double x, double r) { return Complex(r, x); }},
    {ParameterClass::Reactance, ParameterClass::LossRatio,
     [](double x, double d) { return Complex(std::fabs(d) * std::fabs(x), x); }},
    {ParameterClass::Reactance, ParameterClass::Phase,
     [](double x, double theta) { return Complex(x / std::tan(theta), x); }},
    {ParameterClass::Susceptance, ParameterClass::Conductance,
     [](double b, double g) { return fromAdmittance(Complex(g, b)); }},
    {ParameterClass::Susceptance, ParameterClass::LossRatio,
     [](double b, double d) { return fromAdmittance(Complex(std::fabs(d) * std::fabs(b), b)); }},
    // The admittance's phase is -theta.
    {ParameterClass::Susceptance, ParameterClass::Phase,
     [](double b, double theta) { return fromAdmittance(Complex(-b / std::tan(theta), b)); }},
    {ParameterClass::Resistance, ParameterClass::Phase,
     [](double r, double theta) { return Complex(r, r * std::tan(theta)); }},
    {ParameterClass::Conductance, ParameterClass::Phase,
     [](double g, double theta) { return fromAdmittance(Complex(g, -g * std::tan(theta))); }},
    {ParameterClass::Magnitude, ParameterClass::Phase,
     [](double m, double theta) { return std::polar(m, theta); }},
}};

// A plain number in the C locale ("1.59155E-07", "+12", "-89.64"). std::from_chars
// ignores the process's locale and is many times faster than QLocale's reader, which
// matters for the derived columns of long sweeps.
std::optional<double> readingValue(const QString& text) {
    QStringView number = QStringView(text).trimmed();
    if (number.startsWith(QLatin1Char('+')))
        number = number.mid(1);
    std::array<char, 64> ascii{};
    if (number.isEmpty() || number.size() >= static_cast<qsizetype>(ascii.size()))
        return std::nullopt;
    for (qsizetype i = 0; i < number.size(); ++i) {
        const char16_t c = number[i].unicode();
        if (c > 127)
            return std::nullopt;
        ascii[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    const char* end = ascii.data() + number.size();
    double value = 0.0;
    const auto [stop, error] = std::from_chars(ascii.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value) ||
        std::fabs(value) >= overloadReading)
        return std::nullopt;
    return value;
}

// The units a parameter may carry: its own, or none at all. A prefixed unit ("mH") would
// need scaling this code does not guess at.
bool unitFits(const ParameterRule& rule, const QString& unitText) {
    const QStringView unit = QStringView(unitText).trimmed();
    if (unit.isEmpty())
        return true;
    if (qstrcmp(rule.unit, "Ohm") == 0 && unit == QStringLiteral("\u03A9"))
        return true;
    return unit.compare(QLatin1String(rule.unit), Qt::CaseInsensitive) == 0;
}

// The class's quantity from one reading at angular frequency omega.
std::optional<double> classQuantity(const ParameterRule& rule, const QString& valueText,
                                    const QString& unitText, double omega) {
    const std::optional<double> value = readingValue(valueText);
    if (!value)
        return std::nullopt;
    if (rule.conversion == Conversion::Angle) {
        const QStringView unit = QStringView(unitText).trimmed();
        if (unit.compare(QLatin1String("deg"), Qt::CaseInsensitive) == 0)
            return *value * pi / 180.0;
        if (unit.compare(QLatin1String("rad"), Qt::CaseInsensitive) == 0)
            return *value;
        return std::nullopt;
    }
    if (!unitFits(rule, unitText))
        return std::nullopt;
    switch (rule.conversion) {
    case Conversion::Same:
        return *value;
    case Conversion::TimesOmega:
        return omega * *value;
    case Conversion::MinusInverseOmegaOf:
        return -1.0 / (omega * *value);
    case Conversion::Inverse:
        return 1.0 / *value;
    case Conversion::Angle:
        break;
    }
    return std::nullopt;
}

double finiteOrNan(double value) {
    return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

const std::array<QuantityInfo, QuantityCount> quantities{{
    {Quantity::ImpedanceMagnitude, "|Z|", "Ohm", "|Z| (Ohm)", "z_ohm"},
    {Quantity::PhaseDegrees, "theta", "deg", "theta (deg)", "theta_deg"},
    {Quantity::SeriesResistance, "Rs", "Ohm", "Rs (Ohm)", "rs_ohm"},
    {Quantity::SeriesReactance, "Xs", "Ohm", "Xs (Ohm)", "xs_ohm"},
    {Quantity::SeriesCapacitance, "Cs", "F", "Cs (F)", "cs_f"},
    {Quantity::ParallelCapacitance, "Cp", "F", "Cp (F)", "cp_f"},
    {Quantity::SeriesInductance, "Ls", "H", "Ls (H)", "ls_h"},
    {Quantity::ParallelInductance, "Lp", "H", "Lp (H)", "lp_h"},
    {Quantity::ParallelResistance, "Rp", "Ohm", "Rp (Ohm)", "rp_ohm"},
    {Quantity::DissipationFactor, "D", "", "D", "d"},
    {Quantity::QualityFactor, "Q", "", "Q", "q"},
    {Quantity::Conductance, "G", "S", "G (S)", "g_s"},
    {Quantity::Susceptance, "B", "S", "B (S)", "b_s"},
    {Quantity::AdmittanceMagnitude, "|Y|", "S", "|Y| (S)", "y_s"},
}};

} // namespace

std::optional<ParameterClass> parameterClass(const QString& name) {
    if (const ParameterRule* rule = ruleFor(name))
        return rule->parameterClass;
    return std::nullopt;
}

bool pairFixesImpedance(ParameterClass first, ParameterClass second) {
    for (const FixingPair& pair : fixingPairs)
        if ((pair.first == first && pair.second == second) ||
            (pair.first == second && pair.second == first))
            return true;
    return false;
}

std::optional<std::complex<double>> impedanceOf(const PointReading& reading) {
    const double frequency = reading.frequencyHz;
    if (!std::isfinite(frequency) || frequency <= 0.0)
        return std::nullopt;
    const ParameterRule* primary = ruleFor(reading.primaryName);
    const ParameterRule* secondary = ruleFor(reading.secondaryName);
    if (!primary || !secondary)
        return std::nullopt;
    const double omega = 2.0 * pi * frequency;
    for (const FixingPair& pair : fixingPairs) {
        const bool inOrder =
            pair.first == primary->parameterClass && pair.second == secondary->parameterClass;
        const bool reversed =
            pair.first == secondary->parameterClass && pair.second == primary->parameterClass;
        if (!inOrder && !reversed)
            continue;
        const auto a = classQuantity(*primary, reading.primaryValue, reading.primaryUnit, omega);
        const auto b =
            classQuantity(*secondary, reading.secondaryValue, reading.secondaryUnit, omega);
        if (!a || !b)
            return std::nullopt;
        const Complex z = inOrder ? pair.impedance(*a, *b) : pair.impedance(*b, *a);
        if (!std::isfinite(z.real()) || !std::isfinite(z.imag()))
            return std::nullopt;
        return z;
    }
    return std::nullopt;
}

const std::array<QuantityInfo, QuantityCount>& quantityTable() {
    return quantities;
}

const QuantityInfo& quantityInfo(Quantity quantity) {
    return quantities[static_cast<std::size_t>(quantity)];
}

QStringList quantityHeaders() {
    QStringList headers;
    for (const QuantityInfo& info : quantities)
        headers << QLatin1String(info.header);
    return headers;
}

QStringList quantityJsonKeys() {
    QStringList keys;
    for (const QuantityInfo& info : quantities)
        keys << QLatin1String(info.jsonKey);
    return keys;
}

QuantityValues quantitiesOf(std::complex<double> impedance, double frequencyHz) {
    const double omega = 2.0 * pi * frequencyHz;
    const double r = impedance.real();
    const double x = impedance.imag();
    const Complex admittance = 1.0 / impedance;
    const double g = admittance.real();
    const double b = admittance.imag();

    QuantityValues values{};
    const auto set = [&values](Quantity quantity, double value) {
        values[static_cast<std::size_t>(quantity)] = finiteOrNan(value);
    };
    set(Quantity::ImpedanceMagnitude, std::abs(impedance));
    set(Quantity::PhaseDegrees, std::arg(impedance) * 180.0 / pi);
    set(Quantity::SeriesResistance, r);
    set(Quantity::SeriesReactance, x);
    set(Quantity::SeriesCapacitance, -1.0 / (omega * x));
    set(Quantity::ParallelCapacitance, b / omega);
    set(Quantity::SeriesInductance, x / omega);
    set(Quantity::ParallelInductance, -1.0 / (omega * b));
    set(Quantity::ParallelResistance, 1.0 / g);
    set(Quantity::DissipationFactor, std::fabs(r / x));
    set(Quantity::QualityFactor, std::fabs(x / r));
    set(Quantity::Conductance, g);
    set(Quantity::Susceptance, b);
    set(Quantity::AdmittanceMagnitude, std::abs(admittance));
    return values;
}

std::optional<QuantityValues> quantitiesOf(const PointReading& reading) {
    const auto impedance = impedanceOf(reading);
    if (!impedance)
        return std::nullopt;
    return quantitiesOf(*impedance, reading.frequencyHz);
}

QString formatQuantity(double value) {
    if (!std::isfinite(value))
        return QString();
    // QString::number is the C locale whatever the process's locale, unlike printf.
    return QString::number(value, 'E', 5);
}

QStringList formatQuantities(const std::optional<QuantityValues>& values) {
    QStringList texts;
    for (int i = 0; i < QuantityCount; ++i)
        texts << (values ? formatQuantity((*values)[static_cast<std::size_t>(i)]) : QString());
    return texts;
}

} // namespace analysis
