// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

// Thrown after the operator chose Cancel in a not-responding message and the shutdown
// path has run: it unwinds the interrupted operation so that none of its code runs on.
// Every event handler stops it at its boundary.
class ProgramEnding : public std::exception {
public:
    const char* what() const noexcept override { return "program ending"; }
};
