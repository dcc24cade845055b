// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A result field as a number, read as the sweep chart reads it: a plain number in the C
// locale; nothing for a text that is no number, an overload (the instrument's 9.9E37 and
// above) or a value that is not finite.
std::optional<double> valueNumber(const QString& text);
