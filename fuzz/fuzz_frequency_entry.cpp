// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed into a frequency entry: the reader never crashes and gives either
// nothing or a finite number.
#include "numbers/FrequencyEntry.h"
#include "numbers/PlainNumber.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto hertz = ReadFrequencyEntry(text); hertz && !std::isfinite(*hertz))
        std::abort();
    if (const auto number = readPlainNumber(text); number && !std::isfinite(*number))
        std::abort();
    return 0;
}
