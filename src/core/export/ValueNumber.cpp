// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/ValueNumber.h"

#include <cmath>

namespace {
// The instrument reports an overload as 9.9E37 or more.
constexpr double OverloadMagnitude = 9.9e37;
} // namespace

std::optional<double> valueNumber(const QString& text) {
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value) || std::abs(value) >= OverloadMagnitude)
        return std::nullopt;
    return value;
}
