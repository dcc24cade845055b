// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parameters.h"

#include "TextEscapes.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace lcrsim {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double overflowReading = 9.9e37;

double resistanceOf(const ElectricalPoint& p) {
    return p.impedance.real();
}
double reactanceOf(const ElectricalPoint& p) {
    return p.impedance.imag();
}
double conductanceOf(const ElectricalPoint& p) {
    return (1.0 / p.impedance).real();
}
double susceptanceOf(const ElectricalPoint& p) {
    return (1.0 / p.impedance).imag();
}

// Division by zero is left to IEEE arithmetic: the infinity becomes the overflow
// reading when formatted.
const std::array<ParameterDef, 20> parameterTable{{
    {"Ls", "H", [](const ElectricalPoint& p) { return reactanceOf(p) / p.omega; }, false},
    {"Lp", "H", [](const ElectricalPoint& p) { return -1.0 / (p.omega * susceptanceOf(p)); },
     false},
    {"Rs", "Ohm", [](const ElectricalPoint& p) { return resistanceOf(p); }, false},
    {"Rp", "Ohm", [](const ElectricalPoint& p) { return 1.0 / conductanceOf(p); }, false},
    {"Cs", "F", [](const ElectricalPoint& p) { return -1.0 / (p.omega * reactanceOf(p)); }, false},
    {"Cp", "F", [](const ElectricalPoint& p) { return susceptanceOf(p) / p.omega; }, false},
    {"DF", "", [](const ElectricalPoint& p) { return std::fabs(resistanceOf(p) / reactanceOf(p)); },
     false},
    {"Q", "", [](const ElectricalPoint& p) { return std::fabs(reactanceOf(p) / resistanceOf(p)); },
     false},
    {"Z", "Ohm", [](const ElectricalPoint& p) { return std::abs(p.impedance); }, false},
    {"Y", "S", [](const ElectricalPoint& p) { return 1.0 / std::abs(p.impedance); }, false},
    {"P", "deg", [](const ElectricalPoint& p) { return std::arg(p.impedance) * 180.0 / pi; },
     false},
    {"ESR", "Ohm", [](const ElectricalPoint& p) { return resistanceOf(p); }, false},
    {"Gp", "S", [](const ElectricalPoint& p) { return conductanceOf(p); }, false},
    {"Xs", "Ohm", [](const ElectricalPoint& p) { return reactanceOf(p); }, false},
    {"Bp", "S", [](const ElectricalPoint& p) { return susceptanceOf(p); }, false},
    {"V", "V", [](const ElectricalPoint& p) { return p.levelVolts; }, true},
    {"I", "A", [](const ElectricalPoint& p) { return p.levelVolts / std::abs(p.impedance); }, true},
    {"DCV", "V", [](const ElectricalPoint& p) { return p.levelVolts; }, true},
    {"DCR", "Ohm", [](const ElectricalPoint& p) { return p.dcResistance; }, true},
    {"DCI", "A", [](const ElectricalPoint& p) { return p.levelVolts / p.dcResistance; }, true},
}};

} // namespace

const ParameterDef* findParameter(std::string_view name) {
    const std::string wanted = asciiUpper(name);
    for (const ParameterDef& def : parameterTable)
        if (asciiUpper(def.name) == wanted)
            return &def;
    return nullptr;
}

ElectricalPoint electricalPoint(const Component& component, double frequencyHz, double levelVolts) {
    return {impedanceAt(component, frequencyHz), 2.0 * pi * frequencyHz, levelVolts,
            dcResistance(component)};
}

std::string formatReading(double value) {
    if (!std::isfinite(value) || std::fabs(value) > overflowReading)
        value = std::signbit(value) ? -overflowReading : overflowReading;
    char text[32];
    std::snprintf(text, sizeof text, "%.5E", value);
    return text;
}

ParameterPair automaticParameters(const ElectricalPoint& point) {
    const double reactance = point.impedance.imag();
    if (std::fabs(reactance) < 1e-3 * std::abs(point.impedance))
        return {findParameter("Rs"), findParameter("Q")};
    if (reactance < 0.0)
        return {findParameter("Cs"), findParameter("DF")};
    return {findParameter("Ls"), findParameter("Q")};
}

} // namespace lcrsim
