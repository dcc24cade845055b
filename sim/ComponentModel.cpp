// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComponentModel.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace lcrsim {

namespace {

constexpr std::array<std::pair<ComponentKind, std::string_view>, 8> kindNames{{
    {ComponentKind::SeriesRc, "series-rc"},
    {ComponentKind::ParallelRc, "parallel-rc"},
    {ComponentKind::SeriesRl, "series-rl"},
    {ComponentKind::ParallelRl, "parallel-rl"},
    {ComponentKind::SeriesRlc, "series-rlc"},
    {ComponentKind::Resistor, "resistor"},
    {ComponentKind::RlParallelC, "rl-parallel-c"},
    {ComponentKind::Crystal, "crystal"},
}};

constexpr double pi = 3.14159265358979323846;

} // namespace

std::optional<ComponentKind> componentKindFromName(std::string_view name) {
    for (const auto& [kind, kindName] : kindNames)
        if (kindName == name)
            return kind;
    return std::nullopt;
}

std::string_view componentKindName(ComponentKind kind) {
    for (const auto& [candidate, kindName] : kindNames)
        if (candidate == kind)
            return kindName;
    return "?";
}

Component defaultComponent(ComponentKind kind) {
    Component component;
    component.kind = kind;
    switch (kind) {
    case ComponentKind::ParallelRc:
    case ComponentKind::ParallelRl:
        component.resistance = 1e6;
        break;
    case ComponentKind::Resistor:
        component.resistance = 1e3;
        break;
    case ComponentKind::RlParallelC:
        // Self-resonant at 503 kHz with a Q of 32.
        component.capacitance = 1e-9;
        component.inductance = 100e-6;
        break;
    case ComponentKind::Crystal:
        // A ceramic resonator: series resonance at 459 kHz, parallel at 482 kHz, Q 460.
        component.resistance = 50.0;
        component.inductance = 8e-3;
        component.capacitance = 15e-12;
        component.shuntCapacitance = 150e-12;
        break;
    default:
        break;
    }
    return component;
}

std::complex<double> impedanceAt(const Component& component, double frequencyHz) {
    using Z = std::complex<double>;
    const double omega = 2.0 * pi * frequencyHz;
    const Z resistor{component.resistance, 0.0};
    const Z inductor{0.0, omega * component.inductance};
    const Z capacitor{0.0, -1.0 / (omega * component.capacitance)};
    const auto parallel = [](Z a, Z b) { return a * b / (a + b); };

    switch (component.kind) {
    case ComponentKind::SeriesRc:
        return resistor + capacitor;
    case ComponentKind::ParallelRc:
        return parallel(resistor, capacitor);
    case ComponentKind::SeriesRl:
        return resistor + inductor;
    case ComponentKind::ParallelRl:
        return parallel(resistor, inductor);
    case ComponentKind::SeriesRlc:
        return resistor + inductor + capacitor;
    case ComponentKind::Resistor:
        return resistor;
    case ComponentKind::RlParallelC:
        return parallel(resistor + inductor, capacitor);
    case ComponentKind::Crystal:
        return parallel(resistor + inductor + capacitor,
                        Z{0.0, -1.0 / (omega * component.shuntCapacitance)});
    }
    return resistor;
}

double dcResistance(const Component& component) {
    switch (component.kind) {
    case ComponentKind::SeriesRc:
    case ComponentKind::SeriesRlc:
    case ComponentKind::Crystal:
        return std::numeric_limits<double>::infinity();
    case ComponentKind::ParallelRl:
        return 0.0;
    default:
        return component.resistance;
    }
}

} // namespace lcrsim
