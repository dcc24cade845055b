#pragma once

#include "link/PortError.h"
#include "link/ProgramEnding.h"
#include "platform/Dialogs.h"

#include <QString>

#include <exception>
#include <utility>

// Runs one event handler's body so that no exception crosses into Qt's event dispatch.
//
// A failure is trapped and reported the house way: "Error occurred: " + description, OK,
// exclamation icon, title "<window> -> <handler>". ProgramEnding (the operator ended the
// program from a not-responding message) stops silently.
template <typename Body> void runHandler(Dialogs& dialogs, const QString& title, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const ProgramEnding&) {
    } catch (const PortError& e) {
        dialogs.message(QStringLiteral("Error occurred: ") + e.description(), MessageButtons::Ok,
                        MessageIcon::Exclamation, title);
    } catch (const std::exception& e) {
        dialogs.message(QStringLiteral("Error occurred: ") + QString::fromLocal8Bit(e.what()),
                        MessageButtons::Ok, MessageIcon::Exclamation, title);
    }
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
