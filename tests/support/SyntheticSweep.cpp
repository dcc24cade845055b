// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticSweep.h"

#include <cmath>
#include <random>

using namespace analysis;

namespace {

constexpr double pi = 3.14159265358979323846;

// Box-Muller on mt19937's output, which the standard fixes bit for bit (the standard's
// normal_distribution is not the same everywhere).
double gaussian(std::mt19937& generator) {
    const double u1 = (generator() + 1.0) / 4294967296.0;
    const double u2 = generator() / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * pi * u2);
}

} // namespace

std::optional<Quantity> quantityOfParameter(const QString& name) {
    static const std::vector<std::pair<QString, Quantity>> table{
        {"Ls", Quantity::SeriesInductance},    {"Cs", Quantity::SeriesCapacitance},
        {"Xs", Quantity::SeriesReactance},     {"Lp", Quantity::ParallelInductance},
        {"Cp", Quantity::ParallelCapacitance}, {"Bp", Quantity::Susceptance},
        {"Rs", Quantity::SeriesResistance},    {"ESR", Quantity::SeriesResistance},
        {"Rp", Quantity::ParallelResistance},  {"Gp", Quantity::Conductance},
        {"DF", Quantity::DissipationFactor},   {"Q", Quantity::QualityFactor},
        {"Z", Quantity::ImpedanceMagnitude},   {"Y", Quantity::AdmittanceMagnitude},
        {"P", Quantity::PhaseDegrees},
    };
    for (const auto& [parameter, quantity] : table)
        if (parameter == name)
            return quantity;
    return std::nullopt;
}

SyntheticSweep SyntheticSweep::of(const char* model, std::vector<double> values, double startHz,
                                  double stopHz, int points, bool logarithmic, const char* pair) {
    SyntheticSweep sweep;
    sweep.model = *circuitModelFromName(QLatin1String(model));
    sweep.values = std::move(values);
    sweep.startHz = startHz;
    sweep.stopHz = stopHz;
    sweep.points = points;
    sweep.logarithmic = logarithmic;
    sweep.pair = QLatin1String(pair);
    return sweep;
}

std::vector<PointReading> SyntheticSweep::readings() const {
    std::mt19937 generator(seed);
    const QStringList names = pair.split(QLatin1Char('-'));
    const Quantity first = *quantityOfParameter(names.value(0));
    const Quantity second = *quantityOfParameter(names.value(1));
    std::vector<PointReading> sweep;
    for (int i = 0; i < points; ++i) {
        const double t = points > 1 ? static_cast<double>(i) / (points - 1) : 0.0;
        const double f = std::round(logarithmic ? startHz * std::pow(stopHz / startHz, t)
                                                : startHz + (stopHz - startHz) * t);
        const std::complex<double> z =
            modelImpedance(model, values, f) * (1.0 + noisePercent / 100.0 * gaussian(generator));
        const QuantityValues quantities = quantitiesOf(z, f);
        sweep.push_back({f, names.value(0), formatQuantity(valueOf(quantities, first)),
                         QLatin1String(quantityInfo(first).unit), names.value(1),
                         formatQuantity(valueOf(quantities, second)),
                         QLatin1String(quantityInfo(second).unit)});
    }
    return sweep;
}
