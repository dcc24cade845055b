// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CircuitModels.h"

#include <array>
#include <cmath>

namespace analysis {

namespace {

using Complex = std::complex<double>;
constexpr double pi = 3.14159265358979323846;

struct ModelDef {
    CircuitModel model;
    const char* name;
    std::array<const char*, 4> parameters; // nullptr after the last
};

const std::array<ModelDef, 7> models{{
    {CircuitModel::SeriesRc, "series-rc", {"R", "C", nullptr, nullptr}},
    {CircuitModel::ParallelRc, "parallel-rc", {"R", "C", nullptr, nullptr}},
    {CircuitModel::SeriesRl, "series-rl", {"R", "L", nullptr, nullptr}},
    {CircuitModel::ParallelRl, "parallel-rl", {"R", "L", nullptr, nullptr}},
    {CircuitModel::SeriesRlc, "series-rlc", {"R", "L", "C", nullptr}},
    {CircuitModel::RlParallelC, "rl-parallel-c", {"R", "L", "C", nullptr}},
    {CircuitModel::Crystal, "crystal", {"R1", "L1", "C1", "C0"}},
}};

const ModelDef& definition(CircuitModel model) {
    return models[static_cast<std::size_t>(model)];
}

QString unitOfElement(const char* name) {
    switch (name[0]) {
    case 'R':
        return QStringLiteral("Ohm");
    case 'L':
        return QStringLiteral("H");
    default:
        return QStringLiteral("F");
    }
}

Complex parallel(Complex a, Complex b) {
    return a * b / (a + b);
}

double resonanceHz(double inductance, double capacitance) {
    return 1.0 / (2.0 * pi * std::sqrt(inductance * capacitance));
}

} // namespace

QStringList circuitModelNames() {
    QStringList names;
    for (const ModelDef& def : models)
        names << QLatin1String(def.name);
    return names;
}

QString circuitModelName(CircuitModel model) {
    return QLatin1String(definition(model).name);
}

std::optional<CircuitModel> circuitModelFromName(const QString& name) {
    for (const ModelDef& def : models)
        if (name == QLatin1String(def.name))
            return def.model;
    return std::nullopt;
}

QStringList modelParameterNames(CircuitModel model) {
    QStringList names;
    for (const char* name : definition(model).parameters)
        if (name)
            names << QLatin1String(name);
    return names;
}

QStringList modelParameterUnits(CircuitModel model) {
    QStringList units;
    for (const char* name : definition(model).parameters)
        if (name)
            units << unitOfElement(name);
    return units;
}

int modelParameterCount(CircuitModel model) {
    return static_cast<int>(modelParameterNames(model).size());
}

std::complex<double> modelImpedanceAtOmega(CircuitModel model, const double* v, double omega) {
    const auto resistor = [](double r) { return Complex(r, 0.0); };
    const auto inductor = [omega](double l) { return Complex(0.0, omega * l); };
    const auto capacitor = [omega](double c) { return Complex(0.0, -1.0 / (omega * c)); };
    switch (model) {
    case CircuitModel::SeriesRc:
        return resistor(v[0]) + capacitor(v[1]);
    case CircuitModel::ParallelRc:
        return parallel(resistor(v[0]), capacitor(v[1]));
    case CircuitModel::SeriesRl:
        return resistor(v[0]) + inductor(v[1]);
    case CircuitModel::ParallelRl:
        return parallel(resistor(v[0]), inductor(v[1]));
    case CircuitModel::SeriesRlc:
        return resistor(v[0]) + inductor(v[1]) + capacitor(v[2]);
    case CircuitModel::RlParallelC:
        return parallel(resistor(v[0]) + inductor(v[1]), capacitor(v[2]));
    case CircuitModel::Crystal:
        return parallel(resistor(v[0]) + inductor(v[1]) + capacitor(v[2]), capacitor(v[3]));
    }
    return {};
}

std::complex<double> modelImpedance(CircuitModel model, const std::vector<double>& values,
                                    double frequencyHz) {
    if (static_cast<int>(values.size()) < modelParameterCount(model))
        return {std::nan(""), std::nan("")};
    return modelImpedanceAtOmega(model, values.data(), 2.0 * pi * frequencyHz);
}

std::vector<NamedValue> derivedModelValues(CircuitModel model, const std::vector<double>& v) {
    if (static_cast<int>(v.size()) < modelParameterCount(model))
        return {};
    const QString hertz = QStringLiteral("Hz");
    switch (model) {
    case CircuitModel::SeriesRlc: {
        const double f0 = resonanceHz(v[1], v[2]);
        return {{QStringLiteral("f0"), f0, hertz},
                {QStringLiteral("Q"), std::sqrt(v[1] / v[2]) / v[0], QString()}};
    }
    case CircuitModel::RlParallelC: {
        const double f0 = resonanceHz(v[1], v[2]);
        return {{QStringLiteral("f0"), f0, hertz},
                {QStringLiteral("Q"), 2.0 * pi * f0 * v[1] / v[0], QString()}};
    }
    case CircuitModel::Crystal: {
        const double fs = resonanceHz(v[1], v[2]);
        return {{QStringLiteral("fs"), fs, hertz},
                {QStringLiteral("fp"), fs * std::sqrt(1.0 + v[2] / v[3]), hertz},
                {QStringLiteral("Q"), 2.0 * pi * fs * v[1] / v[0], QString()}};
    }
    default:
        return {};
    }
}

std::vector<CurvePoint> modelCurve(CircuitModel model, const std::vector<double>& values,
                                   double startHz, double stopHz, int count, bool logarithmic) {
    std::vector<CurvePoint> curve;
    if (count < 2 || !(startHz > 0.0) || !(stopHz > 0.0) || !std::isfinite(startHz) ||
        !std::isfinite(stopHz) || static_cast<int>(values.size()) < modelParameterCount(model))
        return curve;
    curve.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        const double f = logarithmic ? startHz * std::pow(stopHz / startHz, t)
                                     : startHz + (stopHz - startHz) * t;
        curve.push_back({f, modelImpedanceAtOmega(model, values.data(), 2.0 * pi * f)});
    }
    return curve;
}

} // namespace analysis
