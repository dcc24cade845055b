// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstrumentState.h"

#include "TextEscapes.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace lcrsim {

namespace {

std::string plainNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

} // namespace

std::string renderState(const InstrumentState& state, Dialect dialect) {
    const std::vector<std::pair<const char*, std::string>> entries{
        {"dialect", std::string(dialectName(dialect))},
        {"test", state.testNumber},
        {"primary", state.primary},
        {"secondary", state.secondary},
        {"frequency", plainNumber(state.frequencyHz)},
        {"level", plainNumber(state.levelVolts)},
        {"level_type", state.levelType},
        {"bias", state.bias},
        {"range", state.range},
        {"accuracy", state.accuracy},
        {"delay", state.delay},
        {"averaging", state.averaging},
        {"median", state.median},
        {"cable", state.cable},
        {"leveling", state.leveling},
        {"source_resistance", state.sourceResistance},
        {"trigger", state.trigger},
        {"display", state.display},
        {"result_format", state.resultFormat},
        {"option", state.option},
        {"locked", state.locked ? "on" : "off"},
        {"commands", std::to_string(state.commands)},
        {"measurements", std::to_string(state.measurements)},
        {"saves", std::to_string(state.saves)},
        {"unknown_commands", std::to_string(state.unknownCommands)},
        {"last_unknown", state.lastUnknown},
        {"rejected_commands", std::to_string(state.rejectedCommands)},
        {"last_rejected", state.lastRejected},
    };
    std::string out;
    for (const auto& [key, value] : entries)
        out += std::string(key) + '=' + escapeNonPrintable(value) + '\n';
    return out;
}

} // namespace lcrsim
