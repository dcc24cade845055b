// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Dialect.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lcrsim {

// The injected reply faults that decide, per command, what actually goes back and when:
// silence for all or for chosen commands, a fixed answer instead of the computed one, a
// delay of its own, a stall in the middle of its first reply.
// Commands are named by keyword (e.g. "*STB?", "MEAS:*WAIT:FETC?") or by their whole
// text, in any case.
class ReplyOverrides {
public:
    void silenceAll() { m_silentAll = true; }
    void silence(const std::string& command);
    // answer is sent exactly as given, with no line end added.
    void answer(const std::string& command, std::string answer);
    void delay(const std::string& command, std::chrono::milliseconds delay);
    // The first reply to command stops after bytes; the rest follows rest later.
    void stallFirst(const std::string& command, std::size_t bytes, std::chrono::milliseconds rest);

    struct Stall {
        std::size_t bytes;
        std::chrono::milliseconds rest;
    };

    // The reply to send for a command whose computed reply is computed (if any).
    std::optional<std::string> replyFor(const ParsedCommand& command,
                                        std::optional<std::string> computed) const;
    // The delay of the reply to this command, when it has one of its own.
    std::optional<std::chrono::milliseconds> delayFor(const ParsedCommand& command) const;
    // The stall of the reply to this command, when it is the first one named by a stall;
    // each stall is used once.
    std::optional<Stall> takeStall(const ParsedCommand& command);

private:
    bool names(const std::string& key, const ParsedCommand& command) const;

    bool m_silentAll = false;
    std::vector<std::string> m_silenced;                       // upper-cased
    std::map<std::string, std::string> m_answers;              // upper-cased command -> answer
    std::map<std::string, std::chrono::milliseconds> m_delays; // upper-cased command -> delay
    std::map<std::string, Stall> m_stalls; // upper-cased command -> stall not yet used
};

} // namespace lcrsim
