// SPDX-License-Identifier: GPL-3.0-or-later
// Any start, stop and step count: planning a sweep never crashes and either computes
// step count + 1 points (none for a negative count) or names the failure that stopped it.
#include "run/SweepStepping.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 13)
        return 0;
    SweepSettings settings;
    std::memcpy(&settings.start, data, 4);
    std::memcpy(&settings.stop, data + 4, 4);
    std::memcpy(&settings.steps, data + 8, 4);
    settings.logarithmic = (data[12] & 1) != 0;
    // Keep each run short: the step count is bounded by 16 bits anyway.
    if (settings.steps > 2000 || settings.steps < -2000)
        return 0;
    const SweepPlan plan = planSweep(settings);
    const qint64 expected = settings.steps < 0 ? 0 : qint64(settings.steps) + 1;
    if (plan.failure.isEmpty() && static_cast<qint64>(plan.frequencies.size()) != expected)
        std::abort();
    return 0;
}
