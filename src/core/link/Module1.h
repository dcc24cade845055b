// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/TestSettings.h"
#include "values/InstrumentIdentity.h"

#include <optional>

// The program-wide values that outlive the windows. One instance per program, owned by
// the program root. Replies are not kept here: each read returns its own.
struct Module1 {
    InstrumentIdentity Identity; // from the last identification that could be split
    bool PanelLocked = false;    // the lock state last commanded by the Lockout button
    // The frequency this program last set the instrument to since it connected, in hertz as
    // sent (by an upload or a sweep point); empty while unknown.
    QString TestFrequency;
    // The test as "Update Test" last sent it whole since the program connected; nothing
    // before. Voltage and bias sweeps and stepped runs return the instrument to it.
    std::optional<TestSettings> UploadedTest;
};
