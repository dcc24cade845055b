// SPDX-License-Identifier: GPL-3.0-or-later
// lcrctl: the instrument from a shell script, without windows.
#include "CommandLine.h"
#include "ExitCode.h"
#include "FitCommand.h"
#include "Session.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lcrctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LCRPANEL_VERSION));

    const CommandLineResult result = readCommandLine(QCoreApplication::arguments());
    if (const auto* text = std::get_if<PrintText>(&result)) {
        QTextStream(stdout) << text->text;
        return ExitDone;
    }
    if (const auto* error = std::get_if<UsageError>(&result)) {
        QTextStream(stderr) << "lcrctl: " << error->message << '\n';
        return ExitUsage;
    }
    const Invocation& invocation = std::get<Invocation>(result);
    if (invocation.command == Invocation::Command::Ports)
        return listPorts();
    if (invocation.command == Invocation::Command::Fit)
        return runFit(invocation.model, invocation.fitTrace, invocation.spice, invocation.file);
    return runSession(invocation);
}
