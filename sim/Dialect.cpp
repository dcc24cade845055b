// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialect.h"

#include "TextEscapes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace lcrsim {

namespace {

using Keyword = std::pair<std::string_view, CommandAction>;

// Keywords as the instruments document them; matching ignores case.
constexpr std::array<Keyword, 22> lr40Keywords{{
    {"syst:trig", CommandAction::SetTrigger},
    {"syst:disp", CommandAction::SetDisplay},
    {"syst:fres", CommandAction::SetResultFormat},
    {"option", CommandAction::SetOption},
    {"*IDN?", CommandAction::Identify},
    {"test:test", CommandAction::SetTestNumber},
    {"conf:ppar", CommandAction::SetPrimary},
    {"conf:spar", CommandAction::SetSecondary},
    {"conf:applv", CommandAction::SetLevel},
    {"conf:freq", CommandAction::SetFrequency},
    {"conf:bias", CommandAction::SetBias},
    {"conf:range", CommandAction::SetRange},
    {"conf:mac", CommandAction::SetAccuracy},
    {"conf:tde", CommandAction::SetDelay},
    {"conf:aver", CommandAction::SetAveraging},
    {"save", CommandAction::Save},
    {"syst:median", CommandAction::SetMedian},
    {"syst cabl", CommandAction::SetCable}, // a blank, not a colon, after "syst"
    {"syst:level", CommandAction::SetLeveling},
    {"syst:srci", CommandAction::SetSourceResistance},
    {"MEAS:*WAIT:FETC?", CommandAction::MeasureAndFetch},
    {"Syst:lock", CommandAction::SetLock},
}};

constexpr std::array<Keyword, 19> px80Keywords{{
    {"conf:disp", CommandAction::SetDisplay},   {"conf:fres", CommandAction::SetResultFormat},
    {"*idn?", CommandAction::Identify},         {"conf:trig", CommandAction::SetTrigger},
    {"conf:ppar", CommandAction::SetPrimary},   {"conf:spar", CommandAction::SetSecondary},
    {"conf:ACTY", CommandAction::SetLevelType}, {"conf:ACV", CommandAction::SetLevel},
    {"conf:freq", CommandAction::SetFrequency}, {"conf:bias", CommandAction::SetBias},
    {"conf:range", CommandAction::SetRange},    {"conf:mac", CommandAction::SetAccuracy},
    {"conf:median", CommandAction::SetMedian},  {"conf:tdel", CommandAction::SetDelay},
    {"conf:aver", CommandAction::SetAveraging}, {"MEAS:", CommandAction::Trigger},
    {"*STB?", CommandAction::Status},           {"Fetch?", CommandAction::Fetch},
    {"Syst:lock", CommandAction::SetLock},
}};

template <std::size_t N>
std::optional<Keyword> longestKeywordMatch(const std::array<Keyword, N>& keywords,
                                           std::string_view text) {
    const std::string upperText = asciiUpper(text);
    std::optional<Keyword> best;
    for (const Keyword& keyword : keywords) {
        const std::string upperKeyword = asciiUpper(keyword.first);
        if (upperText.compare(0, upperKeyword.size(), upperKeyword) != 0)
            continue;
        // The keyword must be whole: "conf:tde" is not a match for "conf:tdel 0".
        const bool whole =
            upperText.size() == upperKeyword.size() || upperText[upperKeyword.size()] == ' ';
        if (whole && (!best || keyword.first.size() > best->first.size()))
            best = keyword;
    }
    return best;
}

} // namespace

std::optional<Dialect> dialectFromName(std::string_view name) {
    const std::string upper = asciiUpper(name);
    if (upper == "LR40")
        return Dialect::Lr40;
    if (upper == "PX80")
        return Dialect::Px80;
    return std::nullopt;
}

std::string_view dialectName(Dialect dialect) {
    return dialect == Dialect::Lr40 ? "lr40" : "px80";
}

ParsedCommand parseCommand(Dialect dialect, std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    const auto match = dialect == Dialect::Lr40 ? longestKeywordMatch(lr40Keywords, trimmed)
                                                : longestKeywordMatch(px80Keywords, trimmed);
    ParsedCommand parsed;
    std::size_t keywordLength = 0;
    if (match) {
        parsed.action = match->second;
        keywordLength = match->first.size();
    } else {
        keywordLength = std::min(trimmed.find(' '), trimmed.size());
    }
    parsed.keyword = std::string(trimmed.substr(0, keywordLength));
    parsed.argument = std::string(trimBlanks(trimmed.substr(keywordLength)));
    return parsed;
}

} // namespace lcrsim
