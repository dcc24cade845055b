// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"
#include "values/Failure.h"
#include "values/ProgramEnding.h"

#include <QString>

#include <exception>
#include <utility>

// Runs one event handler's body so that no exception crosses into Qt's event dispatch.
// This is the one place where a handler's failures become messages.
//
// A failure is reported the house way: "Error occurred: " + description (or the handler's
// fixed text), OK, exclamation icon, under the report's title ("<window> -> <handler>").
// ProgramEnding (the operator ended the program from a not-responding message) stops
// silently.
template <typename Body>
void runHandler(Dialogs& dialogs, const FailureReport& report, Body&& body) {
    const auto tell = [&](const QString& description) {
        const QString text = report.fixedText.isEmpty()
                                 ? QStringLiteral("Error occurred: ") + description
                                 : report.fixedText;
        dialogs.message(text, MessageButtons::Ok, MessageIcon::Exclamation, report.title);
    };
    try {
        std::forward<Body>(body)();
    } catch (const ProgramEnding&) {
    } catch (const Failure& e) {
        tell(e.description());
    } catch (const std::exception& e) {
        tell(QString::fromLocal8Bit(e.what()));
    }
}

template <typename Body> void runHandler(Dialogs& dialogs, const QString& title, Body&& body) {
    runHandler(dialogs, FailureReport{title, QString()}, std::forward<Body>(body));
}

// For handlers whose failures are ignored (start-up, exit): runs body, swallowing any
// failure except the end of the program.
template <typename Body> bool ignoringFailure(Body&& body) {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const ProgramEnding&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}
