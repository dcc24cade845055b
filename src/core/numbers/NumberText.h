// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A single-precision value as the instrument reads it: plain decimal, at most seven
// significant digits, no exponent, no leading blank, no trailing zeros after the point
// (1000 gives "1000", 1500.5 gives "1500.5", 1e7 gives "10000000").
QString plainDecimal(float value);

// The whole number a text stands for, rounded to the nearest and halves to the even
// neighbour ("12.5" gives 12, "13.5" gives 14). Nothing when the text is not a number or
// the result does not fit a signed 16-bit integer.
std::optional<qint16> wholeNumber16(const QString& text);
