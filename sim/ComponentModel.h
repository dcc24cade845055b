// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <complex>
#include <optional>
#include <string_view>

namespace lcrsim {

enum class ComponentKind {
    SeriesRc,
    ParallelRc,
    SeriesRl,
    ParallelRl,
    SeriesRlc,
    Resistor,
    RlParallelC, // R and L in series, C across both: an inductor with winding capacitance
    Crystal,     // R, L and C in series (the motional arm), shuntCapacitance across them
};

// The component under test: an ideal network of one resistor with an inductor and/or
// a capacitor, or a crystal's four elements. Values in ohm, henry and farad.
struct Component {
    ComponentKind kind = ComponentKind::SeriesRc;
    double resistance = 10.0;
    double inductance = 1e-3;
    double capacitance = 100e-9;
    double shuntCapacitance = 150e-12; // the crystal's C0
};

std::optional<ComponentKind> componentKindFromName(std::string_view name);
std::string_view componentKindName(ComponentKind kind);

// Default values that give readings in a meter's comfortable range: series networks a
// small loss resistance, parallel networks a large leakage resistance.
Component defaultComponent(ComponentKind kind);

// Complex impedance at frequencyHz (> 0).
std::complex<double> impedanceAt(const Component& component, double frequencyHz);

// Resistance seen by a DC measurement; infinity where a capacitor blocks DC.
double dcResistance(const Component& component);

} // namespace lcrsim
