// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/FrequencyEntry.h"

#include "numbers/PlainNumber.h"

#include <cmath>
#include <limits>

namespace {
// The 1-based position of the first lower-case letter plus that of the first upper-case
// one, each 0 when absent: the instrument panel has always found its suffix this way.
int summedPosition(const QString& text, QChar lower, QChar upper) {
    return static_cast<int>(text.indexOf(lower) + 1 + text.indexOf(upper) + 1);
}

std::optional<float> scaledPrefix(const QString& text, int position, double factor) {
    const std::optional<float> prefix = readPlainSingle(text.left(position - 1));
    if (!prefix)
        return std::nullopt;
    const double value = static_cast<double>(*prefix) * factor;
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(value);
}
} // namespace

std::optional<float> ReadFrequencyEntry(const QString& text) {
    const int kilo = summedPosition(text, QLatin1Char('k'), QLatin1Char('K'));
    if (kilo >= 2)
        return scaledPrefix(text, kilo, 1000.0);
    const int mega = summedPosition(text, QLatin1Char('m'), QLatin1Char('M'));
    if (mega >= 2)
        return scaledPrefix(text, mega, 1000000.0);
    return readPlainSingle(text);
}
