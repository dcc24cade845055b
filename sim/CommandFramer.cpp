// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandFramer.h"

namespace lcrsim {

std::vector<ReceivedCommand> CommandFramer::feed(std::string_view bytes) {
    std::vector<ReceivedCommand> commands;
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            commands.push_back({m_partial, c});
            m_partial.clear();
        } else {
            m_partial += c;
        }
    }
    return commands;
}

} // namespace lcrsim
