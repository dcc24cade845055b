// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/NumberText.h"

#include "numbers/PlainNumber.h"
#include "numbers/Rounding.h"

#include <cmath>
#include <limits>

QString plainDecimal(float value) {
    if (value == 0.0f || !std::isfinite(value))
        return QStringLiteral("0");
    // Seven significant digits, rounded once, then the point moved by the exponent.
    const QString scientific = QString::number(static_cast<double>(value), 'e', 6);
    const bool negative = scientific.startsWith(QLatin1Char('-'));
    const qsizetype ePos = scientific.indexOf(QLatin1Char('e'));
    const int exponent = scientific.mid(ePos + 1).toInt();
    QString digits = scientific.left(ePos).remove(QLatin1Char('-')).remove(QLatin1Char('.'));

    QString whole;
    QString fraction;
    if (exponent < 0) {
        whole = QStringLiteral("0");
        fraction = QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (exponent + 1 >= digits.size()) {
        whole = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        whole = digits.left(exponent + 1);
        fraction = digits.mid(exponent + 1);
    }
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString text = negative ? QStringLiteral("-") + whole : whole;
    if (!fraction.isEmpty())
        text += QLatin1Char('.') + fraction;
    return text;
}

std::optional<qint16> wholeNumber16(const QString& text) {
    const std::optional<double> value = readPlainNumber(text);
    if (!value)
        return std::nullopt;
    return roundHalfEven<qint16>(*value);
}
