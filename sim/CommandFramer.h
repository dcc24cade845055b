// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lcrsim {

// One command as it came off the line, with the byte that ended it (CR or LF).
struct ReceivedCommand {
    std::string text;
    char terminator = '\r';
};

// Cuts the received byte stream into commands. Either CR or LF ends a command, so a
// CR LF pair yields a command followed by an empty one; the panel's terminators vary
// per command and the instrument takes them all.
class CommandFramer {
public:
    std::vector<ReceivedCommand> feed(std::string_view bytes);

    // Text received since the last terminator.
    const std::string& unterminated() const { return m_partial; }
    void clear() { m_partial.clear(); }

private:
    std::string m_partial;
};

} // namespace lcrsim
