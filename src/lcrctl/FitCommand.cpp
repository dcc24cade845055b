// SPDX-License-Identifier: GPL-3.0-or-later
#include "FitCommand.h"

#include "ExitCode.h"
#include "analysis/CircuitFit.h"
#include "analysis/SpiceSubcircuit.h"
#include "analysis/TraceReadings.h"
#include "traces/ReferenceReader.h"

#include <QTextStream>

#include <cstdio>

namespace {
QString plainNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6E", value);
    return QString::fromLatin1(text);
}

QString line(const analysis::NamedValue& value) {
    return value.name + QLatin1Char('\t') + plainNumber(value.value) + QLatin1Char('\t') +
           value.unit + QLatin1Char('\n');
}
} // namespace

int runFit(const QString& model, int trace, bool spice, const QString& path) {
    QTextStream err(stderr);
    const ReferenceFile file = ReferenceReader::read(path);
    if (!file.problem.isEmpty()) {
        err << "lcrctl: " << path;
        if (file.line > 0)
            err << ", line " << file.line;
        err << ": " << file.problem << '\n';
        return ExitUnreadable;
    }
    const int count = static_cast<int>(file.traces.size());
    if (trace > count) {
        err << "lcrctl: " << path << " holds " << count << (count == 1 ? " trace" : " traces")
            << ", not " << trace << '\n';
        return ExitUnreadable;
    }
    const Trace& chosen =
        file.traces.at(static_cast<std::size_t>(trace > 0 ? trace - 1 : count - 1));
    // A voltage or bias sweep's trace lies along volts: it holds a single frequency.
    if (chosen.swept != RunSetting::Frequency) {
        err << "lcrctl: A voltage or bias sweep is measured at one frequency; a fit needs a "
               "frequency sweep.\n";
        return ExitFitFailed;
    }
    const analysis::FitOutcome outcome = analysis::fitCircuit(
        *analysis::circuitModelFromName(model), analysis::traceReadings(chosen));
    if (!outcome.ok()) {
        err << "lcrctl: " << outcome.failure << '\n';
        return ExitFitFailed;
    }
    const analysis::FitResult& result = *outcome.result;
    QString text;
    if (spice) {
        text = analysis::spiceSubcircuit(result);
    } else {
        for (const analysis::NamedValue& value : result.parameters)
            text += line(value);
        for (const analysis::NamedValue& value : result.derived)
            text += line(value);
        text += line({QStringLiteral("rms_error"), result.rmsErrorPercent, QStringLiteral("%")});
        text += QStringLiteral("points\t%1\n").arg(result.points);
    }
    QTextStream(stdout) << text;
    return ExitDone;
}
