// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lcrsim {

enum class Dialect { Lr40, Px80 };

std::optional<Dialect> dialectFromName(std::string_view name);
std::string_view dialectName(Dialect dialect);

// What a recognised command does, independent of how a dialect spells it.
enum class CommandAction {
    Identify,
    SetTrigger,
    SetDisplay,
    SetResultFormat,
    SetOption,
    SetTestNumber,
    SetPrimary,
    SetSecondary,
    SetLevelType,
    SetLevel,
    SetFrequency,
    SetBias,
    SetRange,
    SetAccuracy,
    SetDelay,
    SetAveraging,
    SetMedian,
    SetCable,
    SetLeveling,
    SetSourceResistance,
    Save,
    SetLock,
    MeasureAndFetch,
    Trigger,
    Status,
    Fetch,
};

// A received command split into keyword and argument. The keyword is the dialect's
// keyword the text starts with (any case), or the first word of an unknown command;
// the argument is the rest without surrounding blanks, as given.
struct ParsedCommand {
    std::optional<CommandAction> action;
    std::string keyword;
    std::string argument;
};

ParsedCommand parseCommand(Dialect dialect, std::string_view text);

} // namespace lcrsim
