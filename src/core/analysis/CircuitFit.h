// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/CircuitModels.h"
#include "analysis/PointReading.h"

#include <QString>

#include <complex>
#include <optional>
#include <vector>

namespace analysis {

// A point with its impedance, as the fit takes it.
struct ImpedancePoint {
    double frequencyHz = 0.0;
    std::complex<double> impedance;
};

// The points of a sweep that have an impedance (impedanceOf), in their order.
std::vector<ImpedancePoint> impedancePoints(const std::vector<PointReading>& readings);

struct FitResult {
    CircuitModel model = CircuitModel::SeriesRc;
    // The fitted elements in the model's order (modelParameterNames), SI base units.
    std::vector<NamedValue> parameters;
    // Each element's relative standard error (0.01 = 1 %), from the Jacobian at the
    // solution; every one is at most 1, or the fit would have failed as undetermined.
    std::vector<double> relativeErrors;
    // f0 and Q, or fs, fp and Q (derivedModelValues).
    std::vector<NamedValue> derived;
    // RMS of (|Z model| - |Z|) / |Z| over the fitted points, in %.
    double rmsErrorPercent = 0.0;
    int points = 0;
    bool converged = false;
    // The fitted points' frequency range, for the model's curve.
    double lowestHz = 0.0;
    double highestHz = 0.0;

    std::vector<double> values() const;
};

// A fit either gives a result or says why not (the text is for the operator, one sentence
// or two). Nothing is ever both.
struct FitOutcome {
    std::optional<FitResult> result;
    QString failure;
    bool ok() const { return result.has_value(); }
};

// Complex nonlinear least squares of the model on every point with an impedance: the
// residuals are the real and imaginary parts of (Z model - Z) / |Z|, the unknowns the
// logarithms of the elements, the solver Levenberg-Marquardt with numerical differences,
// started from values read off the data. Fails when no point has an impedance, when there
// are fewer than elements + 1 such points, when the solver does not converge and when an
// element's relative standard error exceeds 100 % (undetermined).
FitOutcome fitCircuit(CircuitModel model, const std::vector<PointReading>& readings);
FitOutcome fitCircuit(CircuitModel model, const std::vector<ImpedancePoint>& points);

// The fitted model at count points over the fitted range.
std::vector<CurvePoint> fittedCurve(const FitResult& result, int count = 400,
                                    bool logarithmic = false);

} // namespace analysis
