// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lcrsim {

// Turns the C-style escapes \r \n \t \\ and \xHH of a command-line text into bytes.
// Throws std::invalid_argument on a malformed escape.
std::string decodeEscapes(std::string_view text);

// Writes bytes outside printable ASCII as \xHH so that a log line stays one line.
std::string escapeNonPrintable(std::string_view bytes);

// Upper-cases ASCII letters; command keywords compare case-insensitively.
std::string asciiUpper(std::string_view text);

// Strips blanks and tabs at both ends.
std::string_view trimBlanks(std::string_view text);

} // namespace lcrsim
