// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLog.h"

#include "TextEscapes.h"

#include <stdexcept>

namespace lcrsim {

CommandLog::CommandLog(const std::string& path) : m_file(path, std::ios::app | std::ios::binary) {
    if (!m_file)
        throw std::runtime_error("cannot open log file " + path);
}

std::string CommandLog::lineFor(const ReceivedCommand& command) {
    return escapeNonPrintable(command.text) + (command.terminator == '\r' ? "\\r" : "\\n");
}

void CommandLog::record(const ReceivedCommand& command) {
    writeLine(lineFor(command));
}

void CommandLog::recordUnterminated(const std::string& text) {
    writeLine(escapeNonPrintable(text));
}

void CommandLog::writeLine(const std::string& line) {
    m_file << line << '\n';
    m_file.flush();
}

} // namespace lcrsim
