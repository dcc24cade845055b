// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/EngineeringNotation.h"

#include <QStringList>

#include <array>
#include <cmath>

namespace EngineeringNotation {

namespace {
constexpr double OverloadMagnitude = 9.9e37;
// Prefixes from 10^-15 to 10^9, in steps of three decades.
constexpr int LowestExponent = -15;
const std::array<const char16_t*, 9> Prefixes{u"f", u"p", u"n", u"µ", u"m", u"", u"k", u"M", u"G"};

bool takesPrefix(const QString& unit) {
    return !unit.isEmpty() && unit != QLatin1String("deg") && unit != QLatin1String("%");
}

QString withUnit(const QString& number, const QString& prefix, const QString& unit) {
    const QString suffix = prefix + unit;
    return suffix.isEmpty() ? number : number + QLatin1Char(' ') + suffix;
}

// digits significant digits of value, in fixed notation.
QString fixedDigits(double value, int digits, bool keepZeros) {
    if (value == 0.0)
        return QStringLiteral("0");
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    const int decimals = std::max(0, digits - 1 - magnitude);
    QString text = QString::number(value, 'f', decimals);
    if (!keepZeros && text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}
} // namespace

QString displayUnit(const QString& unit) {
    QString trimmed = unit.trimmed();
    if (trimmed.compare(QLatin1String("Ohm"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Ω");
    return trimmed;
}

QString format(double value, const QString& unit, int digits, bool keepZeros) {
    const QString shownUnit = displayUnit(unit);
    if (std::isnan(value))
        return QStringLiteral("-");
    if (std::abs(value) >= OverloadMagnitude || std::isinf(value))
        return QStringLiteral("overload");
    digits = std::clamp(digits, 1, 15);
    if (value == 0.0 || !takesPrefix(shownUnit)) {
        if (value != 0.0 && (std::abs(value) >= 1e9 || std::abs(value) < 1e-4))
            return withUnit(QString::number(value, 'g', digits), {}, shownUnit);
        return withUnit(fixedDigits(value, digits, keepZeros), {}, shownUnit);
    }
    // Round to the digits first: 999.96 at three digits is 1 k, not 1000.
    const double rounded = QString::number(value, 'e', digits - 1).toDouble();
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(rounded))));
    const int exponent = static_cast<int>(std::floor(magnitude / 3.0)) * 3;
    const int prefix = (exponent - LowestExponent) / 3;
    if (exponent < LowestExponent || prefix >= static_cast<int>(Prefixes.size()))
        return withUnit(QString::number(value, 'g', digits), {}, shownUnit);
    const double mantissa = rounded / std::pow(10.0, exponent);
    return withUnit(fixedDigits(mantissa, digits, keepZeros),
                    QString::fromUtf16(Prefixes.at(static_cast<std::size_t>(prefix))), shownUnit);
}

int significantDigits(const QString& text) {
    int digits = 0;
    bool leading = true;
    for (const QChar c : text.trimmed()) {
        if (c == QLatin1Char('e') || c == QLatin1Char('E'))
            break;
        if (!c.isDigit())
            continue;
        if (leading && c == QLatin1Char('0'))
            continue;
        leading = false;
        ++digits;
    }
    return std::max(digits, 1);
}

QString readout(const QString& text, const QString& unit) {
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (!isNumber)
        return text;
    return format(value, unit, significantDigits(text), true);
}

} // namespace EngineeringNotation
