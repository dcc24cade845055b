// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ComponentModel.h"
#include "Dialect.h"
#include "VoltageDependence.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lcrsim {

// Everything the command line can set. Fault options default to "no fault".
struct Options {
    Dialect dialect = Dialect::Lr40;

    // Line: a fresh pseudo-terminal unless a device is given.
    std::string devicePath;
    int baud = 9600;
    std::string linkPath;

    // Observation.
    std::string logPath;
    std::string stateFilePath;
    bool dumpState = false;
    bool verbose = false;

    // Replies.
    std::string lineEnd = "\r\n";
    std::optional<std::string> maker;
    std::optional<std::string> model;
    std::optional<std::string> serial;
    std::optional<std::string> firmware;

    // Component under test; unset values take the component's defaults.
    ComponentKind component = ComponentKind::SeriesRc;
    std::optional<double> resistance;
    std::optional<double> inductance;
    std::optional<double> capacitance;
    std::optional<double> shuntCapacitance;
    // Gaussian noise on |Z| (sigma in %); a seed makes the noise repeatable.
    double noisePercent = 0.0;
    std::optional<std::uint32_t> noiseSeed;
    // Capacitance falling with DC bias, inductance rising with the test level.
    VoltageCoefficients voltageCoefficients;

    // Faults.
    bool silent = false;
    std::vector<std::string> silentFor;
    std::vector<std::pair<std::string, std::string>> answers; // command, exact reply bytes
    int delayMs = 0;
    std::vector<std::pair<std::string, int>> delays; // command, ms: instead of delayMs
    // The first reply to command stops after bytes; the rest follows ms later.
    struct Stall {
        std::string command;
        std::size_t bytes = 0;
        int ms = 0;
    };
    std::vector<Stall> stalls;
    std::size_t splitBytes = 0;
    int gapMs = 0;
    long closeAfter = 0;    // 0: never
    int cutEveryMs = 0;     // 0: never; else the line closes this long after each opening
    int reopenAfterMs = -1; // < 0: never
    bool exitAfterClose = false;
    std::string leftover;
};

struct ParsedOptions {
    Options options;
    bool helpRequested = false;
    std::string error; // empty when the command line was fine
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace lcrsim
