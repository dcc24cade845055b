// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandFramer.h"

#include <fstream>
#include <string>

namespace lcrsim {

// The received-command log: one line per command, the text as received followed by
// its terminator written as the two characters \r or \n. Flushed per line so that a
// test can read it while the simulator runs.
class CommandLog {
public:
    // Opens path for appending; throws std::runtime_error when it cannot.
    explicit CommandLog(const std::string& path);

    void record(const ReceivedCommand& command);
    // Text still waiting for its terminator when the line closed or the simulator
    // stopped; written without a terminator mark so a missing terminator shows.
    void recordUnterminated(const std::string& text);

    static std::string lineFor(const ReceivedCommand& command);

private:
    void writeLine(const std::string& line);

    std::ofstream m_file;
};

} // namespace lcrsim
