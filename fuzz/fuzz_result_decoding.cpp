// SPDX-License-Identifier: GPL-3.0-or-later
// Any result reply, for both programs: decoding never crashes, never lets a line end into
// a box, and writes no more boxes than the reply has fields for.
#include "instrument/ResultDecoding.h"

#include <cstdint>
#include <cstdlib>

namespace {
void check(const MeasuredPoint& decoded) {
    int written = 0;
    for (const std::optional<QString>& field : decoded.fields) {
        if (!field)
            continue;
        ++written;
        if (field->contains(QLatin1Char('\r')) || field->contains(QLatin1Char('\n')))
            std::abort();
    }
    if (decoded.complete() && written == 0)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString reply =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    check(decodeLr40Reply(reply));
    check(decodePx80Reply(reply));
    return 0;
}
