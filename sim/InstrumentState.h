// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Dialect.h"

#include <string>

namespace lcrsim {

// Everything the panel can set on the instrument. Settings the model does not use
// are kept as the text received so that tests can see exactly what arrived.
struct InstrumentState {
    std::string testNumber = "1";
    std::string primary = "Auto";   // a parameter name, or "Auto"
    std::string secondary = "None"; // a parameter name, or "None"
    double frequencyHz = 1000.0;
    double levelVolts = 1.0;
    std::string levelType = "V";
    std::string bias = "Off";
    std::string range = "Auto";
    std::string accuracy = "Medium";
    std::string delay = "0";
    std::string averaging = "1";
    std::string median = "OFF";
    std::string cable = "0";
    std::string leveling = "OFF";
    std::string sourceResistance = "0";
    std::string trigger = "INT";
    std::string display = "";
    std::string resultFormat = "";
    std::string option = "";
    bool locked = false;

    unsigned long commands = 0;     // non-empty commands received
    unsigned long measurements = 0; // results computed
    unsigned long saves = 0;
    unsigned long unknownCommands = 0;
    unsigned long rejectedCommands = 0; // known keyword, unusable argument
    std::string lastUnknown;
    std::string lastRejected;
};

// key=value lines, one per setting and counter, in a fixed order.
std::string renderState(const InstrumentState& state, Dialect dialect);

} // namespace lcrsim
