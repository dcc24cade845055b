// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <limits>
#include <optional>

// Nearest whole number, exact halves to the even neighbour (12.5 gives 12, 13.5 gives 14);
// nothing when the value is not finite or does not fit Integer.
template <typename Integer> std::optional<Integer> roundHalfEven(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double rounded = std::round(value); // halves away from zero ...
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0.0)
        rounded -= std::copysign(1.0, value); // ... so step back to the even neighbour
    if (rounded < static_cast<double>(std::numeric_limits<Integer>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Integer>::max()))
        return std::nullopt;
    return static_cast<Integer>(rounded);
}
