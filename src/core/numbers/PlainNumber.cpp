// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/PlainNumber.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {
// Blanks are the ASCII blank and tab only. An entry is sent to the instrument as typed, so
// other white space (a no-break or an ideographic space) must not pass as a blank: it would
// reach the line as a byte the instrument cannot read.
QString withoutBlanksAround(const QString& text) {
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && blank(text.at(from)))
        ++from;
    while (to > from && blank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}
} // namespace

std::optional<double> readPlainNumber(const QString& text) {
    static const QRegularExpression plain(
        QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    const QString trimmed = withoutBlanksAround(text);
    if (!plain.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok); // QString::toDouble ignores the locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> readPlainSingle(const QString& text) {
    const std::optional<double> value = readPlainNumber(text);
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*value);
}
