// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplyOverrides.h"

#include "TextEscapes.h"

#include <algorithm>

namespace lcrsim {

void ReplyOverrides::silence(const std::string& command) {
    m_silenced.push_back(asciiUpper(trimBlanks(command)));
}

void ReplyOverrides::answer(const std::string& command, std::string answer) {
    m_answers[asciiUpper(trimBlanks(command))] = std::move(answer);
}

void ReplyOverrides::delay(const std::string& command, std::chrono::milliseconds delay) {
    m_delays[asciiUpper(trimBlanks(command))] = delay;
}

void ReplyOverrides::stallFirst(const std::string& command, std::size_t bytes,
                                std::chrono::milliseconds rest) {
    m_stalls[asciiUpper(trimBlanks(command))] = Stall{bytes, rest};
}

bool ReplyOverrides::names(const std::string& key, const ParsedCommand& command) const {
    if (key == asciiUpper(command.keyword))
        return true;
    const std::string wholeText =
        command.keyword + (command.argument.empty() ? "" : " " + command.argument);
    return key == asciiUpper(wholeText);
}

std::optional<std::string> ReplyOverrides::replyFor(const ParsedCommand& command,
                                                    std::optional<std::string> computed) const {
    if (m_silentAll)
        return std::nullopt;
    const auto isNamed = [&](const std::string& key) { return names(key, command); };
    if (std::any_of(m_silenced.begin(), m_silenced.end(), isNamed))
        return std::nullopt;
    for (const auto& [key, text] : m_answers)
        if (isNamed(key))
            return text;
    return computed;
}

std::optional<std::chrono::milliseconds>
ReplyOverrides::delayFor(const ParsedCommand& command) const {
    for (const auto& [key, delay] : m_delays)
        if (names(key, command))
            return delay;
    return std::nullopt;
}

std::optional<ReplyOverrides::Stall> ReplyOverrides::takeStall(const ParsedCommand& command) {
    for (auto entry = m_stalls.begin(); entry != m_stalls.end(); ++entry)
        if (names(entry->first, command)) {
            const Stall stall = entry->second;
            m_stalls.erase(entry);
            return stall;
        }
    return std::nullopt;
}

} // namespace lcrsim
