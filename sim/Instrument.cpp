// SPDX-License-Identifier: GPL-3.0-or-later
#include "Instrument.h"

#include "Parameters.h"
#include "TextEscapes.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace lcrsim {

namespace {

CommandOutcome rejected(std::string reason) {
    return {CommandVerdict::Rejected, std::nullopt, std::move(reason)};
}

CommandOutcome accepted(std::optional<std::string> reply = std::nullopt) {
    return {CommandVerdict::Accepted, std::move(reply), {}};
}

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Settings the instrument stores as text; the model does not depend on them.
constexpr std::array<std::pair<CommandAction, std::string InstrumentState::*>, 15> textSettings{{
    {CommandAction::SetTrigger, &InstrumentState::trigger},
    {CommandAction::SetDisplay, &InstrumentState::display},
    {CommandAction::SetResultFormat, &InstrumentState::resultFormat},
    {CommandAction::SetOption, &InstrumentState::option},
    {CommandAction::SetTestNumber, &InstrumentState::testNumber},
    {CommandAction::SetLevelType, &InstrumentState::levelType},
    {CommandAction::SetBias, &InstrumentState::bias},
    {CommandAction::SetRange, &InstrumentState::range},
    {CommandAction::SetAccuracy, &InstrumentState::accuracy},
    {CommandAction::SetDelay, &InstrumentState::delay},
    {CommandAction::SetAveraging, &InstrumentState::averaging},
    {CommandAction::SetMedian, &InstrumentState::median},
    {CommandAction::SetCable, &InstrumentState::cable},
    {CommandAction::SetLeveling, &InstrumentState::leveling},
    {CommandAction::SetSourceResistance, &InstrumentState::sourceResistance},
}};

} // namespace

Identity defaultIdentity(Dialect dialect) {
    if (dialect == Dialect::Lr40)
        return {"Marovex", "Model LR41", "01234567", "1.05 A"};
    return {"Marovex", "PX80", "07654321", "2.10"};
}

Instrument::Instrument(Dialect dialect, Identity identity, const Component& component,
                       std::string lineEnd, MeasurementNoise noise,
                       VoltageCoefficients coefficients)
    : m_dialect(dialect), m_identity(std::move(identity)), m_component(component),
      m_lineEnd(std::move(lineEnd)), m_noise(noise), m_coefficients(coefficients) {}

CommandOutcome Instrument::execute(const ParsedCommand& command) {
    ++m_state.commands;
    if (!command.action) {
        ++m_state.unknownCommands;
        m_state.lastUnknown =
            command.keyword + (command.argument.empty() ? "" : " ") + command.argument;
        return {CommandVerdict::Unknown, std::nullopt, {}};
    }

    CommandOutcome outcome;
    switch (*command.action) {
    case CommandAction::Identify:
        outcome = accepted(identificationLine());
        break;
    case CommandAction::SetPrimary:
        outcome = setPrimary(command.argument);
        break;
    case CommandAction::SetSecondary:
        outcome = setSecondary(command.argument);
        break;
    case CommandAction::SetFrequency:
        outcome = setFrequency(command.argument);
        break;
    case CommandAction::SetLevel:
        outcome = setLevel(command.argument);
        break;
    case CommandAction::SetLock:
        outcome = setLock(command.argument);
        break;
    case CommandAction::Save:
        ++m_state.saves;
        outcome = accepted();
        break;
    case CommandAction::MeasureAndFetch:
        outcome = accepted(resultLine(measure()));
        break;
    case CommandAction::Trigger:
        measure();
        outcome = accepted();
        break;
    case CommandAction::Status:
        outcome = accepted("0" + m_lineEnd);
        break;
    case CommandAction::Fetch:
        outcome = accepted(resultLine(m_lastResult ? *m_lastResult : measure()));
        break;
    default:
        outcome = setText(*command.action, command.argument);
        break;
    }
    if (outcome.verdict == CommandVerdict::Rejected) {
        ++m_state.rejectedCommands;
        m_state.lastRejected = command.keyword + " " + command.argument;
    }
    return outcome;
}

bool Instrument::measures(std::string_view parameterName) const {
    const ParameterDef* def = findParameter(parameterName);
    return def && (m_dialect == Dialect::Lr40 || !def->lr40Only);
}

CommandOutcome Instrument::setPrimary(const std::string& argument) {
    // The LR40 spells the automatic choice "Auto", the PX80 "A".
    const std::string automatic = m_dialect == Dialect::Lr40 ? "AUTO" : "A";
    if (asciiUpper(argument) == automatic) {
        m_state.primary = "Auto";
        return accepted();
    }
    if (!measures(argument))
        return rejected("no such primary parameter");
    m_state.primary = std::string(findParameter(argument)->name);
    return accepted();
}

CommandOutcome Instrument::setSecondary(const std::string& argument) {
    if (asciiUpper(argument) == "NONE") {
        m_state.secondary = "None";
        return accepted();
    }
    if (!measures(argument))
        return rejected("no such secondary parameter");
    m_state.secondary = std::string(findParameter(argument)->name);
    return accepted();
}

CommandOutcome Instrument::setFrequency(const std::string& argument) {
    const auto hz = parseNumber(argument);
    if (!hz || *hz <= 0.0)
        return rejected("frequency is not a positive number");
    m_state.frequencyHz = *hz;
    return accepted();
}

CommandOutcome Instrument::setLevel(const std::string& argument) {
    const auto volts = parseNumber(argument);
    if (!volts || *volts < 0.0)
        return rejected("level is not a number of volts");
    m_state.levelVolts = *volts;
    return accepted();
}

CommandOutcome Instrument::setLock(const std::string& argument) {
    const std::string upper = asciiUpper(argument);
    if (upper != "ON" && upper != "OFF")
        return rejected("lock takes on or off");
    m_state.locked = upper == "ON";
    return accepted();
}

CommandOutcome Instrument::setText(CommandAction action, const std::string& argument) {
    for (const auto& [candidate, member] : textSettings) {
        if (candidate != action)
            continue;
        if (argument.empty())
            return rejected("missing argument");
        m_state.*member = argument;
        return accepted();
    }
    return rejected("not a setting");
}

MeasurementResult Instrument::measure() {
    const Component measured = componentUnderVoltage(m_component, m_coefficients,
                                                     biasVoltsOf(m_state.bias), m_state.levelVolts);
    ElectricalPoint point = electricalPoint(measured, m_state.frequencyHz, m_state.levelVolts);
    point.impedance = m_noise.apply(point.impedance);
    ParameterPair pair{findParameter(m_state.primary), findParameter(m_state.secondary)};
    if (m_state.primary == "Auto")
        pair = automaticParameters(point);

    MeasurementResult result;
    result.primary = {std::string(pair.primary->name), formatReading(pair.primary->value(point)),
                      std::string(pair.primary->unit)};
    // With no secondary parameter the fields are still sent, named "None" and empty.
    if (pair.secondary)
        result.secondary = {std::string(pair.secondary->name),
                            formatReading(pair.secondary->value(point)),
                            std::string(pair.secondary->unit)};
    else
        result.secondary = {"None", "", ""};

    ++m_state.measurements;
    m_lastResult = result;
    return result;
}

std::string Instrument::identificationLine() const {
    return m_identity.maker + ", " + m_identity.model + ", " + m_identity.serial + ", " +
           m_identity.firmware + m_lineEnd;
}

std::string Instrument::resultLine(const MeasurementResult& result) const {
    const Reading& p = result.primary;
    const Reading& s = result.secondary;
    if (m_dialect == Dialect::Lr40) {
        // Test number, primary, a status code and the bin number, then the secondary.
        return m_state.testNumber + '\t' + p.name + '\t' + p.value + '\t' + p.unit + "\t0\t0\t" +
               s.name + '\t' + s.value + '\t' + s.unit + m_lineEnd;
    }
    return p.name + '\t' + p.value + '\t' + p.unit + '\t' + s.name + '\t' + s.value + '\t' +
           s.unit + m_lineEnd;
}

} // namespace lcrsim
