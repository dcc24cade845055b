// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Values in engineering notation with SI prefixes, as a bench engineer reads them:
// "100 nF", "4.7 µH", "12.5 mΩ", "10 kHz". Only the outside of the run's table uses it:
// chart axes and readouts; the instrument's own texts stay as they are everywhere else.
namespace EngineeringNotation {

// The unit as shown: the instrument's "Ohm" is Ω; every other unit stays.
QString displayUnit(const QString& unit);

// value with the given significant digits (trailing zeros dropped unless keepZeros), a
// prefix from f to G and the unit. A unit that takes no prefix (none, "deg", "%") shows
// the plain number. Zero is "0 F"; an overload (9.9E+37 and beyond) is "overload"; a value
// outside f to G keeps its exponent ("1e-18 F").
QString format(double value, const QString& unit, int digits = 3, bool keepZeros = false);

// A readout of the instrument's text ("+1.23456E-07", "F" is "123.456 nF"): its digits,
// trailing zeros included. Returns the text unchanged when it is no number.
QString readout(const QString& text, const QString& unit);

// The significant digits of a number as written ("1.00000E-07" has 6), at least 1.
int significantDigits(const QString& text);

} // namespace EngineeringNotation
