// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ComponentModel.h"

#include <optional>
#include <string>

namespace lcrsim {

// How the component's values follow the voltages the instrument applies. Unset: no effect.
struct VoltageCoefficients {
    // A class II ceramic: every capacitance falls with DC bias V as C0 / (1 + (V/V0)^2).
    std::optional<double> biasVolts; // V0, > 0
    // A cored inductor: every inductance rises with the test level V as L0 (1 + K V).
    std::optional<double> levelPerVolt; // K, in 1/V
};

// The DC bias in volts for the instrument's bias setting: a number of volts, anything
// else ("Off", "OFF", an unreadable value) 0 V.
double biasVoltsOf(const std::string& biasSetting);

// The component as measured under biasVolts of DC bias and a test level of levelVolts.
// The crystal's shunt capacitance is an electrode capacitance and stays as it is.
Component componentUnderVoltage(const Component& component, const VoltageCoefficients& coefficients,
                                double biasVolts, double levelVolts);

} // namespace lcrsim
