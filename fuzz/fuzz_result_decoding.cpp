// Any result reply, for both programs: decoding never crashes, never lets a line end into
// a box, and writes no more boxes than the reply has fields for.
#include "measure/ResultDecoding.h"

#include <cstdint>
#include <cstdlib>

namespace {
void check(const DecodedReply& decoded) {
    for (const BoxText& box : decoded.texts)
        if (box.text.contains(QLatin1Char('\r')) || box.text.contains(QLatin1Char('\n')))
            std::abort();
    if (decoded.complete() && static_cast<int>(decoded.texts.size()) == 0)
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
