// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Invocation.h"
#include "settings/TestSettings.h"

#include <optional>

struct InstrumentIdentity;
struct InstrumentVariant;

// The test a command line asks for: the configuration window's initial settings with the
// options given put in, checked as the window checks its entries. Throws UsageError with
// the window's message (without its leading blank) for a refused value.
struct ScriptSettings {
    TestSettings settings;
    bool uploadTest = false;   // a test option was given (or the command is upload)
    bool uploadSystem = false; // an LR40 system setting was given
    // An LR40 bias given as a volts text: its check needs the instrument's model.
    bool biasNeedsModel = false;
};

ScriptSettings readScriptSettings(const Invocation& invocation, const InstrumentVariant& variant);

// The bias check that needs the model, run once the instrument has identified itself.
// Throws UsageError when it refuses.
void checkBiasForModel(const ScriptSettings& script, const InstrumentVariant& variant,
                       const InstrumentIdentity& identity);
