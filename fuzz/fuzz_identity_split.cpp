// SPDX-License-Identifier: GPL-3.0-or-later
// Any identification line: the split never crashes, and a rejected line leaves every field
// as it was.
#include "instrument/Instrument.h"
#include "profiles/InstrumentVariant.h"
#include "values/InstrumentIdentity.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static const InstrumentVariant profiles[] = {lr40Profile(), px80Profile()};
    for (const InstrumentVariant& profile : profiles) {
        InstrumentIdentity identity{"m", "Model LR41", "s", "1", 1.0f};
        if (!makeInstrument(profile)->splitIdentity(line, identity) &&
            (identity.Maker != "m" || identity.Model != "Model LR41" || identity.Firmware != "1"))
            std::abort();
    }
    return 0;
}
