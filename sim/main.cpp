// SPDX-License-Identifier: GPL-3.0-or-later
// lcrsim: the instrument's side of the serial line, for testing the front panels
// without an LCR meter.

#include "Options.h"
#include "Simulator.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const lcrsim::ParsedOptions parsed = lcrsim::parseOptions(arguments);
    if (parsed.helpRequested) {
        std::cout << lcrsim::usageText();
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << "lcrsim: " << parsed.error << "\n(see lcrsim --help)\n";
        return 2;
    }
    try {
        lcrsim::Simulator simulator(parsed.options);
        return simulator.run();
    } catch (const std::exception& error) {
        std::cerr << "lcrsim: " << error.what() << '\n';
        return 1;
    }
}
