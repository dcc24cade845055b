// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a reference file: the reader never crashes, and either loads traces whose
// curves all have as many values as frequencies, or names a problem and loads nothing.
#include "traces/ReferenceReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReferenceFile file = ReferenceReader::parse(bytes, QStringLiteral("fuzz"));
    if (!file.problem.isEmpty() && !file.traces.empty())
        std::abort();
    for (const Trace& trace : file.traces)
        if (trace.primary.size() != trace.size() || trace.secondary.size() != trace.size())
            std::abort();
    return 0;
}
