// Any identification line: the split never crashes, and a rejected line leaves every field
// as it was.
#include "link/Identification.h"
#include "link/Module1.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const VariantKind kind : {VariantKind::LR40, VariantKind::PX80}) {
        InstrumentIdentity identity{"m", "Model LR41", "s", "1", 1.0f};
        if (!splitIdentity(line, kind, identity) &&
            (identity.Maker != "m" || identity.Model != "Model LR41" || identity.Firmware != "1"))
            std::abort();
    }
    return 0;
}
