// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/FitStart.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

constexpr double pi = 3.14159265358979323846;

double omegaOf(const ImpedancePoint& p) {
    return 2.0 * pi * p.frequencyHz;
}
// C and L as the reactance X or the susceptance B of one point shows them.
double capacitanceFromReactance(const ImpedancePoint& p) {
    return 1.0 / (omegaOf(p) * std::fabs(p.impedance.imag()));
}
double inductanceFromReactance(const ImpedancePoint& p) {
    return std::fabs(p.impedance.imag()) / omegaOf(p);
}
double capacitanceFromSusceptance(const ImpedancePoint& p) {
    return std::fabs((1.0 / p.impedance).imag()) / omegaOf(p);
}
double inductanceFromSusceptance(const ImpedancePoint& p) {
    return 1.0 / (omegaOf(p) * std::fabs((1.0 / p.impedance).imag()));
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// y = a omega - b / omega through the two end points: for a series L and C (y = X, a = L,
// b = 1/C) and for a parallel C and L (y = B, a = C, b = 1/L) it is exact at any distance
// from the resonance, which the one-point readings are not.
std::pair<double, double> twoEndSolution(const ImpedancePoint& low, const ImpedancePoint& high,
                                         double (*quantity)(const ImpedancePoint&)) {
    const double w1 = omegaOf(low);
    const double w2 = omegaOf(high);
    const double a = (quantity(high) * w2 - quantity(low) * w1) / (w2 * w2 - w1 * w1);
    return {a, a * w1 * w1 - quantity(low) * w1};
}

double reactanceOf(const ImpedancePoint& p) {
    return p.impedance.imag();
}
double susceptanceOf(const ImpedancePoint& p) {
    return (1.0 / p.impedance).imag();
}

struct Scales {
    double resistance;
    double capacitance;
    double inductance;
};

// Values of the right order where a reading gives nothing usable (zero, negative, NaN).
Scales fallbackScales(const std::vector<ImpedancePoint>& sorted) {
    std::vector<double> magnitudes;
    magnitudes.reserve(sorted.size());
    for (const ImpedancePoint& p : sorted)
        magnitudes.push_back(std::abs(p.impedance));
    const double z = std::max(median(magnitudes), 1e-12);
    const double omega = std::sqrt(omegaOf(sorted.front()) * omegaOf(sorted.back()));
    return {z, 1.0 / (omega * z), z / omega};
}

double positive(double value, double fallback) {
    return std::isfinite(value) && value > 0.0 ? value : fallback;
}

} // namespace

std::vector<std::vector<double>> startCandidates(CircuitModel model,
                                                 const std::vector<ImpedancePoint>& sorted) {
    const ImpedancePoint& low = sorted.front();
    const ImpedancePoint& high = sorted.back();
    const Scales scale = fallbackScales(sorted);
    const auto byMagnitude = [](const ImpedancePoint& a, const ImpedancePoint& b) {
        return std::abs(a.impedance) < std::abs(b.impedance);
    };
    const auto minimum = std::min_element(sorted.begin(), sorted.end(), byMagnitude);
    const auto maximum = std::max_element(sorted.begin(), sorted.end(), byMagnitude);
    const auto interior = [&sorted](std::vector<ImpedancePoint>::const_iterator it) {
        return it != sorted.begin() && it != sorted.end() - 1;
    };
    std::vector<double> seriesR;
    std::vector<double> parallelR;
    for (const ImpedancePoint& p : sorted) {
        seriesR.push_back(p.impedance.real());
        parallelR.push_back(1.0 / (1.0 / p.impedance).real());
    }
    const double r = scale.resistance;
    const double rSeries = positive(std::fabs(median(seriesR)), 1e-3 * r);
    const double rParallel = positive(std::fabs(median(parallelR)), 1e3 * r);

    const auto c = [&](double value) { return positive(value, scale.capacitance); };
    const auto l = [&](double value) { return positive(value, scale.inductance); };

    switch (model) {
    case CircuitModel::SeriesRc:
        return {{rSeries, c(capacitanceFromReactance(low))}};
    case CircuitModel::ParallelRc:
        return {{rParallel, c(capacitanceFromSusceptance(high))}};
    case CircuitModel::SeriesRl:
        return {{rSeries, l(inductanceFromReactance(high))}};
    case CircuitModel::ParallelRl:
        return {{rParallel, l(inductanceFromSusceptance(low))}};
    case CircuitModel::SeriesRlc: {
        // R is |Z| at the series resonance.
        const double rMin = positive(std::abs(minimum->impedance), r);
        const auto [inductance, inverseC] = twoEndSolution(low, high, reactanceOf);
        const double cLow = c(capacitanceFromReactance(low));
        const double w0 = omegaOf(*minimum);
        const double lHigh =
            interior(minimum) ? 1.0 / (w0 * w0 * cLow) : l(inductanceFromReactance(high));
        return {{rMin, l(inductance), c(1.0 / inverseC)}, {rMin, lHigh, cLow}};
    }
    case CircuitModel::RlParallelC: {
        // Below the resonance Z is about R + j omega L; at it |Z| peaks at L / (C R).
        const double rLow = positive(low.impedance.real(), 1e-3 * r);
        const double lLow = l(inductanceFromReactance(low));
        const double w0 = omegaOf(*maximum);
        const double cHigh =
            interior(maximum) ? 1.0 / (w0 * w0 * lLow) : c(capacitanceFromSusceptance(high));
        const auto [capacitance, inverseL] = twoEndSolution(low, high, susceptanceOf);
        const double lEnds = l(1.0 / inverseL);
        const double cEnds = c(capacitance);
        const double rPeak = interior(maximum)
                                 ? positive(lEnds / (cEnds * std::abs(maximum->impedance)), rLow)
                                 : rLow;
        return {{rLow, lLow, cHigh}, {rPeak, lEnds, cEnds}};
    }
    case CircuitModel::Crystal: {
        // fs at the |Z| minimum, fp at the maximum, C1 = C0 ((fp/fs)^2 - 1).
        const double fs = minimum->frequencyHz;
        const double fp = maximum->frequencyHz;
        const double ratio = fp > fs ? (fp / fs) * (fp / fs) - 1.0 : 1e-2;
        const double r1 = positive(std::abs(minimum->impedance), r);
        std::vector<std::vector<double>> candidates;
        // C0 from the reactance at either end: there the circuit looks like a capacitance
        // of C0 (1 + ratio / (1 - (f/fs)^2)), lossless.
        for (const ImpedancePoint* end : {&low, &high}) {
            const double ff = (end->frequencyHz / fs) * (end->frequencyHz / fs);
            const double effective = c(capacitanceFromReactance(*end));
            const double c0 = c(effective / (1.0 + ratio / (1.0 - ff)));
            const double c1 = ratio * c0;
            const double ws = 2.0 * pi * fs;
            candidates.push_back({r1, l(1.0 / (ws * ws * c1)), c(c1), c0});
        }
        return candidates;
    }
    }
    return {};
}

} // namespace analysis
