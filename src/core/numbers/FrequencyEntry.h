// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Reads a frequency entry into hertz: "10k" and "10 kHz" give 10000, "1.5m" and "1.5M"
// give 1500000 (m is mega, never milli). The kilo letter is looked for first; the text
// after the letter is ignored. Nothing when the text (or the part before the letter) is
// not a number.
std::optional<float> ReadFrequencyEntry(const QString& text);
