// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "SettingOptions.h"

#include "analysis/CircuitModels.h"
#include "run/SettingSweep.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <array>

namespace {

const QString Commands = QStringLiteral(
    "Drives an LR40-series or PX80 LCR meter over a serial line, for scripts.\n"
    "\n"
    "Commands:\n"
    "  ports       List the serial devices present: device, description, maker (TAB).\n"
    "  identify    Ask the instrument who it is: Maker, Model, Serial, Firmware.\n"
    "  measure     One measurement; a header line and one row.\n"
    "  sweep       A frequency sweep of steps + 1 points; a header and a row per point.\n"
    "  lock        Lock the instrument's front panel.\n"
    "  unlock      Unlock it.\n"
    "  upload      Send the test settings (LR40: the system settings first when given).\n"
    "  fit         Fit an equivalent circuit to a saved sweep: fit --model NAME FILE.\n"
    "              Prints name, value and unit (TAB) per element, the derived values,\n"
    "              rms_error and points; --spice prints a SPICE subcircuit instead.\n"
    "              Needs no --family or --port.\n"
    "\n"
    "measure, sweep and upload take the settings options. Given any, the whole test is\n"
    "uploaded first, every setting not given at the configuration window's initial value.\n"
    "Rows are CSV with the sweep table's columns, or JSON lines (--format jsonl).");

const QString ExitCodes = QStringLiteral(
    "\n"
    "Exit status:\n"
    "  0    done\n"
    "  2    bad command line, a refused --output, or a value an entry check refused\n"
    "  3    the port could not be opened\n"
    "  4    the instrument did not answer within the read limit\n"
    "  5    any other failure on the line or on the output file\n"
    "  6    fit: no circuit could be fitted (the reason on stderr)\n"
    "  7    fit: the file cannot be read (the reason and line on stderr)\n"
    "  129, 130, 143  ended by SIGHUP, SIGINT, SIGTERM (the rows so far are complete)\n");

const std::array<std::pair<const char*, Invocation::Command>, 8> CommandNames{{
    {"ports", Invocation::Command::Ports},
    {"identify", Invocation::Command::Identify},
    {"measure", Invocation::Command::Measure},
    {"sweep", Invocation::Command::Sweep},
    {"lock", Invocation::Command::Lock},
    {"unlock", Invocation::Command::Unlock},
    {"upload", Invocation::Command::Upload},
    {"fit", Invocation::Command::Fit},
}};

QCommandLineOption valueOption(const QString& name, const QString& help, const QString& value) {
    return QCommandLineOption(name, help, value);
}

RunSetting settingWord(const QString& word, const QString& option) {
    for (const RunSetting s : {RunSetting::Frequency, RunSetting::Voltage, RunSetting::Bias})
        if (word == runSettingName(s).toLower())
            return s;
    throw UsageError{
        QStringLiteral("--%1 must name frequency, voltage or bias, not \"%2\"").arg(option, word)};
}

// --sweep and --step; the run checks their values as the window's entries are checked.
void readSettingSweep(const QCommandLineParser& parser, Invocation& invocation) {
    if (parser.isSet(QStringLiteral("sweep")))
        invocation.swept =
            settingWord(parser.value(QStringLiteral("sweep")), QStringLiteral("sweep"));
    if (parser.isSet(QStringLiteral("step"))) {
        const QString step = parser.value(QStringLiteral("step"));
        const qsizetype equals = step.indexOf(QLatin1Char('='));
        if (equals < 0)
            throw UsageError{
                QStringLiteral("--step must read setting=values, not \"%1\"").arg(step)};
        invocation.stepped = settingWord(step.left(equals), QStringLiteral("step"));
        invocation.stepValues = step.mid(equals + 1);
    }
    for (const RunSetting s : {invocation.swept, invocation.stepped})
        if (s == RunSetting::Bias && invocation.family != VariantKind::LR40)
            throw UsageError{QStringLiteral("A bias sweep or step is for the LR40 family only")};
    if (invocation.swept == invocation.stepped)
        throw UsageError{QStringLiteral("The stepped setting must differ from the swept one")};
}

void addOptions(QCommandLineParser& parser) {
    parser.addOptions({
        valueOption(QStringLiteral("family"), QStringLiteral("Instrument family: lr40 or px80."),
                    QStringLiteral("family")),
        valueOption(QStringLiteral("port"),
                    QStringLiteral("Serial port: 1, 2 (LCRPANEL_COM1, LCRPANEL_COM2 on Unix), a "
                                   "device path, or COMn on Windows."),
                    QStringLiteral("port")),
        valueOption(QStringLiteral("baud"), QStringLiteral("9600 (default) or 19200."),
                    QStringLiteral("rate")),
        valueOption(QStringLiteral("trace"),
                    QStringLiteral("Write every byte on the line to this file, as "
                                   "LCRPANEL_TRACE does. fit: the trace of the file to fit, "
                                   "from 1 (default the last)."),
                    QStringLiteral("file")),
        valueOption(QStringLiteral("start"), QStringLiteral("sweep: start frequency (1000)."),
                    QStringLiteral("hz")),
        valueOption(QStringLiteral("stop"), QStringLiteral("sweep: stop frequency (100000)."),
                    QStringLiteral("hz")),
        valueOption(QStringLiteral("steps"), QStringLiteral("sweep: number of steps (10)."),
                    QStringLiteral("n")),
        QCommandLineOption(QStringLiteral("log"), QStringLiteral("sweep: logarithmic steps.")),
        valueOption(QStringLiteral("sweep"),
                    QStringLiteral("sweep: the swept setting, frequency (default), voltage or "
                                   "bias; start and stop then in volts."),
                    QStringLiteral("setting")),
        valueOption(QStringLiteral("step"),
                    QStringLiteral("sweep: one sweep per value of a second setting, "
                                   "bias=0,0.5,1 (or voltage=..., frequency=...)."),
                    QStringLiteral("setting=values")),
        valueOption(QStringLiteral("format"), QStringLiteral("Rows as csv (default) or jsonl."),
                    QStringLiteral("format")),
        valueOption(QStringLiteral("output"),
                    QStringLiteral("Write the rows to this file instead of stdout, as they come."),
                    QStringLiteral("file")),
        QCommandLineOption(QStringLiteral("append"),
                           QStringLiteral("Extend the --output file instead of replacing it.")),
        valueOption(QStringLiteral("model"),
                    QStringLiteral("fit: the circuit: %1.")
                        .arg(analysis::circuitModelNames().join(QStringLiteral(", "))),
                    QStringLiteral("name")),
        QCommandLineOption(QStringLiteral("spice"),
                           QStringLiteral("fit: print the fitted model as a SPICE subcircuit.")),
    });
    for (const SettingOption& option : SettingOptions)
        parser.addOption(valueOption(QLatin1String(option.name), QLatin1String(option.help),
                                     QStringLiteral("value")));
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and the exit codes.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Show the version.")));
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("ports, identify, measure, sweep, lock, unlock, "
                                                "upload or fit (then the file)."));
}

PortChoice readPort(const QString& text) {
    PortChoice choice;
    if (text == QLatin1String("1") || text == QLatin1String("2")) {
        choice.number = text.toInt();
        return choice;
    }
#ifdef Q_OS_WIN
    static const QRegularExpression comPort(QStringLiteral("^COM[0-9]+$"));
    if (comPort.match(text).hasMatch()) {
#else
    if (text.startsWith(QLatin1Char('/'))) {
#endif
        choice.device = text;
        return choice;
    }
    throw UsageError{
        QStringLiteral("--port must be 1, 2 or a serial device, not \"%1\"").arg(text)};
}

void refuseWhereNotTaken(const QCommandLineParser& parser, const QStringList& names,
                         const QString& command) {
    for (const QString& name : names)
        if (parser.isSet(name))
            throw UsageError{QStringLiteral("--%1 is not an option of %2").arg(name, command)};
}

// fit --model NAME [--trace N] [--spice] FILE: no instrument, so no --family or --port.
Invocation readFit(const QCommandLineParser& parser, const QStringList& positional) {
    Invocation invocation;
    invocation.command = Invocation::Command::Fit;
    if (positional.size() != 2)
        throw UsageError{QStringLiteral("fit needs one file: fit --model NAME FILE")};
    invocation.file = positional.at(1);
    invocation.model = parser.value(QStringLiteral("model"));
    if (!analysis::circuitModelFromName(invocation.model))
        throw UsageError{QStringLiteral("--model must be one of %1%2")
                             .arg(analysis::circuitModelNames().join(QStringLiteral(", ")),
                                  parser.isSet(QStringLiteral("model"))
                                      ? QStringLiteral(", not \"%1\"").arg(invocation.model)
                                      : QString())};
    if (parser.isSet(QStringLiteral("trace"))) {
        bool ok = false;
        invocation.fitTrace = parser.value(QStringLiteral("trace")).toInt(&ok);
        if (!ok || invocation.fitTrace < 1)
            throw UsageError{QStringLiteral("--trace must be a trace number from 1, not \"%1\"")
                                 .arg(parser.value(QStringLiteral("trace")))};
    }
    invocation.spice = parser.isSet(QStringLiteral("spice"));
    return invocation;
}

Invocation readInvocation(const QCommandLineParser& parser) {
    const QStringList positional = parser.positionalArguments();
    if (positional.value(0) == QLatin1String("fit")) {
        QStringList refused{QStringLiteral("start"),  QStringLiteral("stop"),
                            QStringLiteral("steps"),  QStringLiteral("log"),
                            QStringLiteral("format"), QStringLiteral("output"),
                            QStringLiteral("append")};
        for (const SettingOption& option : SettingOptions)
            refused << QLatin1String(option.name);
        refuseWhereNotTaken(parser, refused, positional.first());
        return readFit(parser, positional);
    }
    refuseWhereNotTaken(parser, {QStringLiteral("model"), QStringLiteral("spice")},
                        positional.value(0));
    if (positional.size() != 1)
        throw UsageError{
            positional.isEmpty()
                ? QStringLiteral("No command given; see lcrctl --help")
                : QStringLiteral("One command at a time: %1").arg(positional.join(' '))};
    Invocation invocation;
    const QString& command = positional.first();
    bool known = false;
    for (const auto& [name, value] : CommandNames)
        if (command == QLatin1String(name)) {
            invocation.command = value;
            known = true;
        }
    if (!known)
        throw UsageError{QStringLiteral("Unknown command \"%1\"; see lcrctl --help").arg(command)};

    using C = Invocation::Command;
    const C c = invocation.command;
    const QStringList sweepOptions{QStringLiteral("start"), QStringLiteral("stop"),
                                   QStringLiteral("steps"), QStringLiteral("log"),
                                   QStringLiteral("sweep"), QStringLiteral("step")};
    const QStringList outputOptions{QStringLiteral("format"), QStringLiteral("output"),
                                    QStringLiteral("append")};
    QStringList settingNames;
    for (const SettingOption& option : SettingOptions)
        settingNames << QLatin1String(option.name);
    if (c != C::Sweep)
        refuseWhereNotTaken(parser, sweepOptions, command);
    if (c != C::Measure && c != C::Sweep)
        refuseWhereNotTaken(parser, outputOptions, command);
    if (c != C::Measure && c != C::Sweep && c != C::Upload)
        refuseWhereNotTaken(parser, settingNames, command);

    if (c == C::Ports) {
        refuseWhereNotTaken(parser, {QStringLiteral("baud")}, command);
        return invocation;
    }
    const QString family = parser.value(QStringLiteral("family"));
    if (family == QLatin1String("lr40"))
        invocation.family = VariantKind::LR40;
    else if (family == QLatin1String("px80"))
        invocation.family = VariantKind::PX80;
    else
        throw UsageError{
            parser.isSet(QStringLiteral("family"))
                ? QStringLiteral("--family must be lr40 or px80, not \"%1\"").arg(family)
                : QStringLiteral("--family is needed: lr40 or px80")};
    if (!parser.isSet(QStringLiteral("port")))
        throw UsageError{QStringLiteral("--port is needed: 1, 2 or a serial device")};
    invocation.port = readPort(parser.value(QStringLiteral("port")));
    if (parser.isSet(QStringLiteral("baud"))) {
        invocation.baud = parser.value(QStringLiteral("baud"));
        if (invocation.baud != QLatin1String("9600") && invocation.baud != QLatin1String("19200"))
            throw UsageError{
                QStringLiteral("--baud must be 9600 or 19200, not \"%1\"").arg(invocation.baud)};
    }
    invocation.traceFile = parser.value(QStringLiteral("trace"));

    for (const SettingOption& option : SettingOptions) {
        const QString name = QLatin1String(option.name);
        if (!parser.isSet(name))
            continue;
        if (option.lr40Only && invocation.family != VariantKind::LR40)
            throw UsageError{QStringLiteral("--%1 is an option of the LR40 family only").arg(name)};
        invocation.settings.emplace_back(QLatin1String(option.control), parser.value(name));
    }

    if (parser.isSet(QStringLiteral("start")))
        invocation.start = parser.value(QStringLiteral("start"));
    if (parser.isSet(QStringLiteral("stop")))
        invocation.stop = parser.value(QStringLiteral("stop"));
    if (parser.isSet(QStringLiteral("steps")))
        invocation.steps = parser.value(QStringLiteral("steps"));
    invocation.logarithmic = parser.isSet(QStringLiteral("log"));
    readSettingSweep(parser, invocation);

    const QString format = parser.value(QStringLiteral("format"));
    if (format == QLatin1String("jsonl"))
        invocation.format = RowWriter::Format::JsonLines;
    else if (!format.isEmpty() && format != QLatin1String("csv"))
        throw UsageError{QStringLiteral("--format must be csv or jsonl, not \"%1\"").arg(format)};
    invocation.output = parser.value(QStringLiteral("output"));
    invocation.append = parser.isSet(QStringLiteral("append"));
    if (invocation.append && invocation.output.isEmpty())
        throw UsageError{QStringLiteral("--append needs --output")};
    return invocation;
}
} // namespace

CommandLineResult readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Commands);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addOptions(parser);
    if (!parser.parse(arguments))
        return UsageError{parser.errorText()};
    if (parser.isSet(QStringLiteral("help")))
        // "Usage: lcrctl ...", not the path it was started by (the man page is made from it).
        return PrintText{
            parser.helpText().replace(arguments.value(0), QCoreApplication::applicationName()) +
            ExitCodes};
    if (parser.isSet(QStringLiteral("version")))
        return PrintText{QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion())};
    try {
        return readInvocation(parser);
    } catch (const UsageError& error) {
        return error;
    }
}
