// SPDX-License-Identifier: GPL-3.0-or-later
#include "Options.h"

#include "SerialLine.h"
#include "TextEscapes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace lcrsim {

namespace {

long parseInteger(const std::string& text, long minimum) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < minimum)
        throw std::invalid_argument("expected a whole number >= " + std::to_string(minimum) +
                                    ", got \"" + text + "\"");
    return value;
}

int parseMilliseconds(const std::string& text) {
    const long value = parseInteger(text, 0);
    if (value > 3600L * 1000L)
        throw std::invalid_argument("more than an hour: " + text);
    return static_cast<int>(value);
}

// Seconds with fractions, more than 0 and at most a day; returned in milliseconds.
int parseSecondsAsMilliseconds(const std::string& text) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0.0 ||
        seconds > 24.0 * 3600.0)
        throw std::invalid_argument("expected seconds such as 0.5 or 180, got \"" + text + "\"");
    return std::max(1, static_cast<int>(std::lround(seconds * 1000.0)));
}

// Any finite number such as 0.5, -2 or 1e-3.
double parseReal(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || errno != 0 || !std::isfinite(value))
        throw std::invalid_argument("expected a number such as 0.5, got \"" + text + "\"");
    return value;
}

// A positive value with an optional SI prefix letter: 100n, 4.7u, 1m, 10k, 1M.
double parseComponentValue(const std::string& text) {
    static const std::array<std::pair<char, double>, 7> prefixes{{
        {'p', 1e-12},
        {'n', 1e-9},
        {'u', 1e-6},
        {'m', 1e-3},
        {'k', 1e3},
        {'M', 1e6},
        {'G', 1e9},
    }};
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() && *end != '\0' && end[1] == '\0') {
        for (const auto& [letter, factor] : prefixes)
            if (*end == letter) {
                value *= factor;
                ++end;
            }
    }
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || value <= 0.0)
        throw std::invalid_argument("expected a positive value such as 100n or 10k, got \"" + text +
                                    "\"");
    return value;
}

// CMD=TEXT, split at the first '='.
std::pair<std::string, std::string> splitAssignment(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw std::invalid_argument("expected COMMAND=VALUE, got \"" + text + "\"");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

std::string fillerOfSize(std::size_t size) {
    static const std::string pattern = "0123456789";
    std::string filler;
    filler.reserve(size);
    while (filler.size() < size)
        filler += pattern.substr(0, size - filler.size());
    return filler;
}

struct OptionDef {
    const char* name;
    bool takesValue;
    std::function<void(Options&, const std::string&)> apply;
};

const std::vector<OptionDef>& optionTable() {
    static const std::vector<OptionDef> table{
        {"--dialect", true,
         [](Options& o, const std::string& v) {
             const auto dialect = dialectFromName(v);
             if (!dialect)
                 throw std::invalid_argument("dialect is lr40 or px80");
             o.dialect = *dialect;
         }},
        {"--device", true, [](Options& o, const std::string& v) { o.devicePath = v; }},
        {"--baud", true,
         [](Options& o, const std::string& v) {
             o.baud = static_cast<int>(parseInteger(v, 1));
             if (!isSupportedBaud(o.baud))
                 throw std::invalid_argument("unsupported baud rate " + v);
         }},
        {"--link", true, [](Options& o, const std::string& v) { o.linkPath = v; }},
        {"--log", true, [](Options& o, const std::string& v) { o.logPath = v; }},
        {"--state-file", true, [](Options& o, const std::string& v) { o.stateFilePath = v; }},
        {"--dump-state", false, [](Options& o, const std::string&) { o.dumpState = true; }},
        {"--verbose", false, [](Options& o, const std::string&) { o.verbose = true; }},
        {"--eol", true,
         [](Options& o, const std::string& v) {
             if (v != "crlf" && v != "lf")
                 throw std::invalid_argument("eol is crlf or lf");
             o.lineEnd = v == "lf" ? "\n" : "\r\n";
         }},
        {"--maker", true, [](Options& o, const std::string& v) { o.maker = v; }},
        {"--model", true, [](Options& o, const std::string& v) { o.model = v; }},
        {"--serial", true, [](Options& o, const std::string& v) { o.serial = v; }},
        {"--firmware", true, [](Options& o, const std::string& v) { o.firmware = v; }},
        {"--component", true,
         [](Options& o, const std::string& v) {
             const auto kind = componentKindFromName(v);
             if (!kind)
                 throw std::invalid_argument("unknown component " + v);
             o.component = *kind;
         }},
        {"--r", true,
         [](Options& o, const std::string& v) { o.resistance = parseComponentValue(v); }},
        {"--l", true,
         [](Options& o, const std::string& v) { o.inductance = parseComponentValue(v); }},
        {"--c", true,
         [](Options& o, const std::string& v) { o.capacitance = parseComponentValue(v); }},
        {"--c0", true,
         [](Options& o, const std::string& v) { o.shuntCapacitance = parseComponentValue(v); }},
        {"--noise", true,
         [](Options& o, const std::string& v) {
             char* end = nullptr;
             const double percent = std::strtod(v.c_str(), &end);
             if (end == v.c_str() || *end != '\0' || !std::isfinite(percent) || percent < 0.0 ||
                 percent > 100.0)
                 throw std::invalid_argument("expected a percentage from 0 to 100, got \"" + v +
                                             "\"");
             o.noisePercent = percent;
         }},
        {"--seed", true,
         [](Options& o, const std::string& v) {
             const long seed = parseInteger(v, 0);
             if (seed > 4294967295L)
                 throw std::invalid_argument("seed above 4294967295: " + v);
             o.noiseSeed = static_cast<std::uint32_t>(seed);
         }},
        {"--bias-coefficient", true,
         [](Options& o, const std::string& v) {
             const double volts = parseReal(v);
             if (volts <= 0.0)
                 throw std::invalid_argument("expected volts above 0, got \"" + v + "\"");
             o.voltageCoefficients.biasVolts = volts;
         }},
        {"--level-coefficient", true,
         [](Options& o, const std::string& v) {
             o.voltageCoefficients.levelPerVolt = parseReal(v);
         }},
        {"--silent", false, [](Options& o, const std::string&) { o.silent = true; }},
        {"--silent-for", true,
         [](Options& o, const std::string& v) {
             std::size_t start = 0;
             while (start <= v.size()) {
                 const auto comma = std::min(v.find(',', start), v.size());
                 if (comma > start)
                     o.silentFor.push_back(v.substr(start, comma - start));
                 start = comma + 1;
             }
         }},
        {"--answer", true,
         [](Options& o, const std::string& v) {
             auto [command, text] = splitAssignment(v);
             o.answers.emplace_back(command, decodeEscapes(text));
         }},
        {"--answer-size", true,
         [](Options& o, const std::string& v) {
             const auto [command, size] = splitAssignment(v);
             const long bytes = parseInteger(size, 1);
             if (bytes > 256L * 1024 * 1024)
                 throw std::invalid_argument("answer larger than 256 MiB");
             o.answers.emplace_back(command, fillerOfSize(static_cast<std::size_t>(bytes)));
         }},
        {"--delay-ms", true,
         [](Options& o, const std::string& v) { o.delayMs = parseMilliseconds(v); }},
        {"--delay-for", true,
         [](Options& o, const std::string& v) {
             const auto [command, ms] = splitAssignment(v);
             o.delays.emplace_back(command, parseMilliseconds(ms));
         }},
        {"--stall-first", true,
         [](Options& o, const std::string& v) {
             const auto [command, value] = splitAssignment(v);
             const auto colon = value.find(':');
             if (colon == std::string::npos)
                 throw std::invalid_argument("expected COMMAND=BYTES:MS, got \"" + v + "\"");
             o.stalls.push_back({command,
                                 static_cast<std::size_t>(parseInteger(value.substr(0, colon), 0)),
                                 parseMilliseconds(value.substr(colon + 1))});
         }},
        {"--split", true,
         [](Options& o, const std::string& v) {
             o.splitBytes = static_cast<std::size_t>(parseInteger(v, 1));
         }},
        {"--gap-ms", true,
         [](Options& o, const std::string& v) { o.gapMs = parseMilliseconds(v); }},
        {"--close-after", true,
         [](Options& o, const std::string& v) { o.closeAfter = parseInteger(v, 1); }},
        {"--cut-every", true,
         [](Options& o, const std::string& v) { o.cutEveryMs = parseSecondsAsMilliseconds(v); }},
        {"--reopen-after-ms", true,
         [](Options& o, const std::string& v) { o.reopenAfterMs = parseMilliseconds(v); }},
        {"--exit-after-close", false,
         [](Options& o, const std::string&) { o.exitAfterClose = true; }},
        {"--leftover", true,
         [](Options& o, const std::string& v) { o.leftover = decodeEscapes(v); }},
    };
    return table;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (name == "--help" || name == "-h") {
            parsed.helpRequested = true;
            return parsed;
        }
        // Both "--name value" and "--name=value".
        if (const auto equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        const OptionDef* def = nullptr;
        for (const OptionDef& candidate : optionTable())
            if (name == candidate.name)
                def = &candidate;
        if (!def) {
            parsed.error = "unknown option " + name;
            return parsed;
        }
        if (def->takesValue && !value) {
            if (i + 1 == arguments.size()) {
                parsed.error = name + " needs a value";
                return parsed;
            }
            value = arguments[++i];
        } else if (!def->takesValue && value) {
            parsed.error = name + " takes no value";
            return parsed;
        }
        try {
            def->apply(parsed.options, value.value_or(std::string()));
        } catch (const std::invalid_argument& error) {
            parsed.error = name + ": " + error.what();
            return parsed;
        }
    }
    // A cut that is never restored would be one cut, not a repeated one.
    if (parsed.options.cutEveryMs > 0 && parsed.options.reopenAfterMs < 0 &&
        !parsed.options.exitAfterClose)
        parsed.error = "--cut-every needs --reopen-after-ms";
    return parsed;
}

std::string usageText() {
    return R"(Usage: lcrsim [options]
Simulates an LR40-series or PX80 LCR meter on a serial line. Prints the path of the
line's device as the first line of stdout (and again after each reopen).

Line:
  --dialect lr40|px80      command set and replies (default lr40)
  --device PATH            use an existing serial device instead of a pseudo-terminal
  --baud N                 baud rate for --device (default 9600)
  --link PATH              keep a symbolic link at PATH pointing to the line's device
Observation:
  --log FILE               append each received command, e.g. "conf:freq 1000\n"
  --state-file FILE        rewrite the instrument settings as key=value after each command
  --dump-state             print the settings to stderr on exit
  --verbose                trace received commands and replies on stderr
Replies:
  --eol crlf|lf            reply line end (default crlf)
  --maker/--model/--serial/--firmware TEXT   identification fields
  --component series-rc|parallel-rc|series-rl|parallel-rl|series-rlc|resistor|
              rl-parallel-c|crystal
  --r OHMS --l HENRY --c FARAD                component values (SI prefixes p n u m k M G)
  --c0 FARAD               the crystal's shunt capacitance
  --noise PERCENT          Gaussian noise on |Z|, sigma in %, phase untouched
  --seed N                 the noise's seed (default: a new one each run)
  --bias-coefficient V0    C falls with the DC bias V as C0 / (1 + (V/V0)^2) (class II
                           ceramic); V0 > 0 volts, V from conf:bias (Off: 0 V)
  --level-coefficient K    L rises with the test level V as L0 (1 + K V) (cored inductor);
                           K per volt, V from conf:applv / conf:ACV
Faults:
  --silent                 never reply
  --silent-for CMD[,CMD]   no reply to these commands (keyword, any case)
  --answer CMD=TEXT        reply TEXT (escapes \r \n \t \\ \xHH) instead; repeatable
  --answer-size CMD=BYTES  reply BYTES bytes of digits and no line end instead
  --delay-ms N             delay every reply by N ms
  --delay-for CMD=MS       delay the reply to CMD by MS ms instead; repeatable
  --stall-first CMD=BYTES:MS
                           send the first reply to CMD up to BYTES bytes, the rest MS ms later
                           (later replies to CMD whole); repeatable
  --split N --gap-ms M     send replies in pieces of N bytes, M ms apart
  --close-after N          close the line after the N-th non-empty command
  --cut-every SEC          close the line SEC seconds after each opening (fractions allowed),
                           again and again; needs --reopen-after-ms
  --reopen-after-ms M      after such a close, open a new line M ms later
  --exit-after-close       exit (status 0) after such a close
  --leftover TEXT          bytes waiting on the line when it first opens (escapes allowed)
)";
}

} // namespace lcrsim
