// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/SpiceSubcircuit.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace analysis {

namespace {

struct Suffix {
    int exponent;
    const char* text;
};
constexpr std::array<Suffix, 9> suffixes{{
    {12, "T"},
    {9, "G"},
    {6, "Meg"},
    {3, "k"},
    {0, ""},
    {-3, "m"},
    {-6, "u"},
    {-9, "n"},
    {-12, "p"},
}};
constexpr Suffix femto{-15, "f"};

// Where each element sits: nodes by element name, per model.
struct Placement {
    const char* element;
    const char* from;
    const char* to;
};

std::vector<Placement> placements(CircuitModel model) {
    switch (model) {
    case CircuitModel::SeriesRc:
        return {{"R1", "1", "n1"}, {"C1", "n1", "2"}};
    case CircuitModel::ParallelRc:
        return {{"R1", "1", "2"}, {"C1", "1", "2"}};
    case CircuitModel::SeriesRl:
        return {{"R1", "1", "n1"}, {"L1", "n1", "2"}};
    case CircuitModel::ParallelRl:
        return {{"R1", "1", "2"}, {"L1", "1", "2"}};
    case CircuitModel::SeriesRlc:
        return {{"R1", "1", "n1"}, {"L1", "n1", "n2"}, {"C1", "n2", "2"}};
    case CircuitModel::RlParallelC:
        return {{"R1", "1", "n1"}, {"L1", "n1", "2"}, {"C1", "1", "2"}};
    case CircuitModel::Crystal:
        return {{"R1", "1", "n1"}, {"L1", "n1", "n2"}, {"C1", "n2", "2"}, {"C0", "1", "2"}};
    }
    return {};
}

} // namespace

QString spiceNumber(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0.0)
        return QStringLiteral("0");
    // Round to six digits first, so that 999.9996 becomes 1k, not 1000.
    const double rounded = QLocale::c().toDouble(QString::number(value, 'e', 5));
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    Suffix chosen = femto;
    for (const Suffix& suffix : suffixes)
        if (exponent >= suffix.exponent) {
            chosen = suffix;
            break;
        }
    const double mantissa = rounded / std::pow(10.0, chosen.exponent);
    return QString::number(mantissa, 'g', 6) + QLatin1String(chosen.text);
}

QString spiceSubcircuit(const FitResult& result) {
    const QString name = circuitModelName(result.model);
    QString text;
    text += QStringLiteral("* %1 fitted to %2 points, RMS error %3 %\n")
                .arg(name)
                .arg(result.points)
                .arg(QString::number(result.rmsErrorPercent, 'g', 3));
    for (const NamedValue& derived : result.derived)
        text += QStringLiteral("* %1 = %2%3\n")
                    .arg(derived.name, spiceNumber(derived.value),
                         derived.unit.isEmpty() ? QString() : QLatin1Char(' ') + derived.unit);
    text += QStringLiteral(".SUBCKT %1 1 2\n").arg(name);
    for (const Placement& place : placements(result.model))
        for (const NamedValue& parameter : result.parameters) {
            // The two-element and three-element models name their elements R, L, C.
            const QString element = QLatin1String(place.element);
            if (parameter.name != element && parameter.name + QLatin1Char('1') != element)
                continue;
            text += QStringLiteral("%1 %2 %3 %4\n")
                        .arg(element, QLatin1String(place.from), QLatin1String(place.to),
                             spiceNumber(parameter.value));
        }
    text += QStringLiteral(".ENDS\n");
    return text;
}

} // namespace analysis
