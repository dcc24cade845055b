// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Invocation.h"

#include <QStringList>

#include <variant>

// What the command line asks for: a command to run, or the help or version text to print.
struct PrintText {
    QString text;
};
using CommandLineResult = std::variant<Invocation, PrintText, UsageError>;

CommandLineResult readCommandLine(const QStringList& arguments);
