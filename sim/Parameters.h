// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ComponentModel.h"

#include <complex>
#include <string>
#include <string_view>

namespace lcrsim {

// What a measurement sees: the component's impedance at the test frequency, the
// angular frequency, the test level and the DC resistance.
struct ElectricalPoint {
    std::complex<double> impedance;
    double omega = 0.0;
    double levelVolts = 0.0;
    double dcResistance = 0.0;
};

// One measurable parameter: the instrument's abbreviation, its unit and how it follows
// from the electrical point. Only the LR40 series measures V, I and the DC ones.
struct ParameterDef {
    std::string_view name;
    std::string_view unit;
    double (*value)(const ElectricalPoint&);
    bool lr40Only;
};

// Looks a parameter up by name, ignoring case; nullptr when there is none.
const ParameterDef* findParameter(std::string_view name);

ElectricalPoint electricalPoint(const Component& component, double frequencyHz, double levelVolts);

// The instrument's "fres sci" number format, e.g. 1.59155E-07; an infinite or
// undefined value reads as the overflow value 9.90000E+37.
std::string formatReading(double value);

// The parameters an automatic measurement picks for what the component looks like at
// this frequency: Cs with DF when capacitive, Ls with Q when inductive, Rs with Q when
// (nearly) resistive.
struct ParameterPair {
    const ParameterDef* primary;
    const ParameterDef* secondary;
};
ParameterPair automaticParameters(const ElectricalPoint& point);

} // namespace lcrsim
