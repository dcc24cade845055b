// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"

#include <cstdio>
#include <optional>

// The benchmarks' dialogs: every message is answered OK and printed on stderr, so that an
// unexpected one shows; no file is ever chosen.
class AnswerOk final : public Dialogs {
public:
    MessageAnswer message(const QString& text, MessageButtons, MessageIcon,
                          const QString& title) override {
        std::fprintf(stderr, "message (%s): %s\n", qPrintable(title), qPrintable(text));
        return MessageAnswer::Ok;
    }
    std::optional<QString> chooseFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString&) override {
        return std::nullopt;
    }
};
