// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The one notation every entry accepts as a number: plain decimal with an optional sign,
// decimal point and exponent, blanks around it allowed, the same in every locale. Group
// separators, hexadecimal, "nan" and "inf" are not numbers.
std::optional<double> readPlainNumber(const QString& text);

// The same, held in single precision: a value that does not fit a float is not a number.
std::optional<float> readPlainSingle(const QString& text);
