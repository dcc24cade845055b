// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_analysis.h"

#include "ThreadTime.h"
#include "analysis/CircuitFit.h"
#include "analysis/ImpedanceQuantities.h"
#include "support/SyntheticSweep.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

using namespace analysis;

Spread timeOf(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = threadMs();
        work();
        times.push_back(threadMs() - start);
    }
    return spreadOf(std::move(times));
}

// The largest relative error of a fitted element, in %; -1 when the fit failed.
double worstErrorPercent(const SyntheticSweep& sweep) {
    const FitOutcome outcome = fitCircuit(sweep.model, sweep.readings());
    if (!outcome.ok()) {
        std::printf("    fit failed: %s\n", qPrintable(outcome.failure));
        return -1.0;
    }
    double worst = 0.0;
    for (std::size_t i = 0; i < sweep.values.size(); ++i)
        worst =
            std::max(worst, std::fabs(outcome.result->parameters[i].value / sweep.values[i] - 1.0));
    return 100.0 * worst;
}

void benchFit(const char* title, const SyntheticSweep& sweep) {
    const std::vector<PointReading> readings = sweep.readings();
    bool ok = true;
    const Spread spread = timeOf(21, [&] { ok = fitCircuit(sweep.model, readings).ok() && ok; });
    std::printf("%s, %d points: median %.2f ms, worst %.2f ms%s\n", title, sweep.points,
                spread.median, spread.worst, ok ? "" : " (FAILED)");
    SyntheticSweep noisy = sweep;
    noisy.noisePercent = 0.5;
    std::printf("    recovery: worst element %.2g %% noise-free", worstErrorPercent(sweep));
    double worstNoisy = 0.0;
    for (unsigned seed = 1; seed <= 10; ++seed) {
        noisy.seed = seed;
        worstNoisy = std::max(worstNoisy, worstErrorPercent(noisy));
    }
    std::printf(", %.3f %% with 0.5 %% noise on |Z| (worst of seeds 1 to 10)\n", worstNoisy);
}

} // namespace

void benchAnalysis() {
    SyntheticSweep crystal;
    crystal.model = CircuitModel::Crystal;
    crystal.values = {50, 8e-3, 15e-12, 150e-12}; // fs 459.4 kHz, fp 481.9 kHz, Q 460
    crystal.startHz = 450e3;
    crystal.stopHz = 490e3;
    crystal.points = 1001;
    crystal.logarithmic = false;
    benchFit("Fit of crystal", crystal);

    SyntheticSweep rlc;
    rlc.model = CircuitModel::SeriesRlc;
    rlc.values = {10, 1e-3, 100e-9}; // f0 15.9 kHz, Q 10
    rlc.startHz = 1e3;
    rlc.stopHz = 100e3;
    rlc.points = 1001;
    rlc.pair = QStringLiteral("Cs-DF");
    benchFit("Fit of series-rlc", rlc);

    const std::vector<PointReading> readings = rlc.readings();
    double sink = 0.0;
    const Spread derived = timeOf(101, [&] {
        for (const PointReading& reading : readings)
            if (const auto values = quantitiesOf(reading))
                sink += valueOf(*values, Quantity::QualityFactor);
    });
    std::printf("Derived quantities, %zu points (Cs-DF): median %.3f ms, worst %.3f ms%s\n",
                readings.size(), derived.median, derived.worst, sink > 0.0 ? "" : " (none)");
}
