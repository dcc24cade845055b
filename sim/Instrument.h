// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ComponentModel.h"
#include "Dialect.h"
#include "InstrumentState.h"
#include "MeasurementNoise.h"
#include "VoltageDependence.h"

#include <optional>
#include <string>

namespace lcrsim {

// The four fields of the identification reply.
struct Identity {
    std::string maker;
    std::string model;
    std::string serial;
    std::string firmware;
};

Identity defaultIdentity(Dialect dialect);

// One formatted reading as the instrument sends it: name, value and unit texts.
struct Reading {
    std::string name;
    std::string value;
    std::string unit;
};

struct MeasurementResult {
    Reading primary;
    Reading secondary;
};

enum class CommandVerdict { Accepted, Unknown, Rejected };

struct CommandOutcome {
    CommandVerdict verdict = CommandVerdict::Accepted;
    std::optional<std::string> reply; // with its line end
    std::string reason;               // why a command was rejected
};

// The instrument behind the serial line: keeps the settings, measures the component
// and formats replies the way the chosen dialect does. Knows nothing of the line.
class Instrument {
public:
    Instrument(Dialect dialect, Identity identity, const Component& component, std::string lineEnd,
               MeasurementNoise noise = {}, VoltageCoefficients coefficients = {});

    // Runs one non-empty command.
    CommandOutcome execute(const ParsedCommand& command);

    const InstrumentState& state() const { return m_state; }
    Dialect dialect() const { return m_dialect; }

private:
    CommandOutcome setPrimary(const std::string& argument);
    CommandOutcome setSecondary(const std::string& argument);
    CommandOutcome setFrequency(const std::string& argument);
    CommandOutcome setLevel(const std::string& argument);
    CommandOutcome setLock(const std::string& argument);
    CommandOutcome setText(CommandAction action, const std::string& argument);

    MeasurementResult measure();
    std::string identificationLine() const;
    std::string resultLine(const MeasurementResult& result) const;
    bool measures(std::string_view parameterName) const;

    Dialect m_dialect;
    Identity m_identity;
    Component m_component;
    std::string m_lineEnd;
    MeasurementNoise m_noise;
    VoltageCoefficients m_coefficients;
    InstrumentState m_state;
    std::optional<MeasurementResult> m_lastResult;
};

} // namespace lcrsim
