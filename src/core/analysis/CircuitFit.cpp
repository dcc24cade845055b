// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/CircuitFit.h"

#include "analysis/FitStart.h"
#include "analysis/ImpedanceQuantities.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/NonLinearOptimization>
#include <unsupported/Eigen/NumericalDiff>

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

using Complex = std::complex<double>;
constexpr double pi = 3.14159265358979323846;
// The largest relative standard error of an element that still counts as determined.
constexpr double undeterminedAbove = 1.0;
// The unknowns are ln(value / start) + this offset: Eigen's numerical differences step each
// unknown by sqrt(epsilon) times its size, which is no step at all for an unknown near 0.
constexpr double unknownOffset = 100.0;
// The smallest residual scale the errors are estimated with: the instrument's six
// significant digits, so that data fitted exactly still shows which elements it fixes.
constexpr double residualFloor = 1e-6;

// The fitted points, prepared once: angular frequency, impedance, 1/|Z|.
struct FitData {
    CircuitModel model;
    int parameterCount;
    std::vector<double> omega;
    std::vector<Complex> impedance;
    std::vector<double> inverseMagnitude;
    std::vector<double> start; // x = 0 stands for these values
};

// The residuals for Eigen's solver: x_i = ln(value_i / start_i) + unknownOffset, so every
// element stays positive and every unknown has the same scale for the numerical differences.
struct Residuals {
    using Scalar = double;
    enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };
    using InputType = Eigen::VectorXd;
    using ValueType = Eigen::VectorXd;
    using JacobianType = Eigen::MatrixXd;

    const FitData* data = nullptr;

    int inputs() const { return data->parameterCount; }
    int values() const { return 2 * static_cast<int>(data->omega.size()); }

    int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const {
        std::array<double, 4> element{};
        for (int i = 0; i < data->parameterCount; ++i)
            element[static_cast<std::size_t>(i)] =
                data->start[static_cast<std::size_t>(i)] * std::exp(x[i] - unknownOffset);
        for (std::size_t k = 0; k < data->omega.size(); ++k) {
            const Complex model =
                modelImpedanceAtOmega(data->model, element.data(), data->omega[k]);
            Complex difference = (model - data->impedance[k]) * data->inverseMagnitude[k];
            // A step far outside keeps the solver away rather than poisoning it with NaN.
            if (!std::isfinite(difference.real()) || !std::isfinite(difference.imag()))
                difference = {1e6, 1e6};
            residuals[static_cast<Eigen::Index>(2 * k)] = difference.real();
            residuals[static_cast<Eigen::Index>(2 * k + 1)] = difference.imag();
        }
        return 0;
    }
};

std::vector<double> elementValues(const FitData& data, const Eigen::VectorXd& x) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(data.parameterCount));
    for (int i = 0; i < data.parameterCount; ++i)
        values.push_back(data.start[static_cast<std::size_t>(i)] * std::exp(x[i] - unknownOffset));
    return values;
}

double squaredNorm(const Residuals& residuals, const Eigen::VectorXd& x) {
    Eigen::VectorXd f(residuals.values());
    residuals(x, f);
    return f.squaredNorm();
}

bool solverConverged(Eigen::LevenbergMarquardtSpace::Status status) {
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    // The tolerances cannot be met more closely in double precision: at the minimum.
    case FtolTooSmall:
    case XtolTooSmall:
    case GtolTooSmall:
        return true;
    default:
        return false;
    }
}

// Each unknown's standard error: s sqrt(diag((J^T J)^-1)), with J = U S V^T. A direction
// the data do not see at all (a singular value of 0, as when an element has wandered to where
// it no longer matters) makes every unknown that takes part in it undetermined, and only those.
std::vector<double> relativeStandardErrors(const Eigen::MatrixXd& jacobian, double scale) {
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(jacobian, Eigen::ComputeThinV);
    const Eigen::VectorXd& singular = svd.singularValues();
    const Eigen::MatrixXd& v = svd.matrixV();
    const double blind = 1e-14 * singular.maxCoeff();
    std::vector<double> errors;
    for (Eigen::Index i = 0; i < v.rows(); ++i) {
        double variance = 0.0;
        for (Eigen::Index k = 0; k < singular.size(); ++k) {
            if (singular[k] > blind)
                variance += v(i, k) * v(i, k) / (singular[k] * singular[k]);
            else if (std::fabs(v(i, k)) > 1e-6)
                variance = HUGE_VAL;
        }
        errors.push_back(scale * std::sqrt(variance));
    }
    return errors;
}

double rmsMagnitudeErrorPercent(const FitData& data, const std::vector<double>& values) {
    double sum = 0.0;
    for (std::size_t k = 0; k < data.omega.size(); ++k) {
        const double model =
            std::abs(modelImpedanceAtOmega(data.model, values.data(), data.omega[k]));
        const double relative = (model - std::abs(data.impedance[k])) * data.inverseMagnitude[k];
        sum += relative * relative;
    }
    return 100.0 * std::sqrt(sum / static_cast<double>(data.omega.size()));
}

FitOutcome failed(const QString& reason) {
    return {std::nullopt, reason};
}

} // namespace

std::vector<double> FitResult::values() const {
    std::vector<double> numbers;
    for (const NamedValue& parameter : parameters)
        numbers.push_back(parameter.value);
    return numbers;
}

std::vector<ImpedancePoint> impedancePoints(const std::vector<PointReading>& readings) {
    std::vector<ImpedancePoint> points;
    for (const PointReading& reading : readings)
        if (const auto z = impedanceOf(reading))
            points.push_back({reading.frequencyHz, *z});
    return points;
}

FitOutcome fitCircuit(CircuitModel model, const std::vector<PointReading>& readings) {
    return fitCircuit(model, impedancePoints(readings));
}

FitOutcome fitCircuit(CircuitModel model, const std::vector<ImpedancePoint>& points) {
    const QString name = circuitModelName(model);
    std::vector<ImpedancePoint> usable;
    for (const ImpedancePoint& p : points) {
        const double magnitude = std::abs(p.impedance);
        if (std::isfinite(p.frequencyHz) && p.frequencyHz > 0.0 && std::isfinite(magnitude) &&
            magnitude > 0.0)
            usable.push_back(p);
    }
    if (usable.empty())
        return failed(QStringLiteral("No point has an impedance to fit. A fit needs points "
                                     "measured as a pair that fixes it, such as Cs with DF, "
                                     "Ls with Q or Z with the phase."));
    const int parameterCount = modelParameterCount(model);
    if (static_cast<int>(usable.size()) < parameterCount + 1)
        return failed(QStringLiteral("The %1 model needs at least %2 points with an impedance; "
                                     "the sweep has %3.")
                          .arg(name)
                          .arg(parameterCount + 1)
                          .arg(usable.size()));
    std::stable_sort(usable.begin(), usable.end(),
                     [](const ImpedancePoint& a, const ImpedancePoint& b) {
                         return a.frequencyHz < b.frequencyHz;
                     });
    if (usable.front().frequencyHz == usable.back().frequencyHz)
        return failed(QStringLiteral("Every point has the same frequency; a fit needs a sweep."));

    FitData data{model, parameterCount, {}, {}, {}, {}};
    for (const ImpedancePoint& p : usable) {
        data.omega.push_back(2.0 * pi * p.frequencyHz);
        data.impedance.push_back(p.impedance);
        data.inverseMagnitude.push_back(1.0 / std::abs(p.impedance));
    }

    // Start from the candidate whose model lies closest to the data.
    Residuals residuals;
    residuals.data = &data;
    const Eigen::VectorXd origin = Eigen::VectorXd::Constant(parameterCount, unknownOffset);
    double bestCost = HUGE_VAL;
    std::vector<double> bestStart;
    for (std::vector<double>& candidate : startCandidates(model, usable)) {
        data.start = candidate;
        const double cost = squaredNorm(residuals, origin);
        if (bestStart.empty() || cost < bestCost) {
            bestCost = cost;
            bestStart = candidate;
        }
    }
    data.start = bestStart;

    Eigen::NumericalDiff<Residuals> differences(residuals);
    Eigen::LevenbergMarquardt<Eigen::NumericalDiff<Residuals>> solver(differences);
    solver.parameters.maxfev = 400 * (static_cast<Eigen::Index>(parameterCount) + 1);
    // Relative to |x|, which the offset makes about 100: elements to about 1e-8.
    solver.parameters.xtol = 1e-10;
    Eigen::VectorXd x = origin;
    const auto status = solver.minimize(x);
    if (!solverConverged(status) || !x.allFinite())
        return failed(QStringLiteral("The fit of the %1 model did not converge (%2 evaluations). "
                                     "The model may not suit this part, or the sweep may miss "
                                     "what would fix it.")
                          .arg(name)
                          .arg(solver.nfev));

    const std::vector<double> values = elementValues(data, x);
    Eigen::MatrixXd jacobian(residuals.values(), parameterCount);
    differences.df(x, jacobian);
    const int freedom = residuals.values() - parameterCount;
    const double scale =
        std::max(std::sqrt(squaredNorm(residuals, x) / std::max(freedom, 1)), residualFloor);
    const std::vector<double> errors = relativeStandardErrors(jacobian, scale);

    const QStringList names = modelParameterNames(model);
    const QStringList units = modelParameterUnits(model);
    QStringList undetermined;
    for (int i = 0; i < parameterCount; ++i)
        if (!(errors[static_cast<std::size_t>(i)] <= undeterminedAbove))
            undetermined << names[i];
    if (!undetermined.isEmpty())
        return failed(QStringLiteral("The sweep does not determine %1 of the %2 model (relative "
                                     "standard error over 100 %). A resonance outside the swept "
                                     "range, or a part that is not this circuit, does this.")
                          .arg(undetermined.join(QStringLiteral(", ")), name));

    FitResult result;
    result.model = model;
    for (int i = 0; i < parameterCount; ++i)
        result.parameters.push_back({names[i], values[static_cast<std::size_t>(i)], units[i]});
    result.relativeErrors = errors;
    result.derived = derivedModelValues(model, values);
    result.rmsErrorPercent = rmsMagnitudeErrorPercent(data, values);
    result.points = static_cast<int>(usable.size());
    result.converged = true;
    result.lowestHz = usable.front().frequencyHz;
    result.highestHz = usable.back().frequencyHz;
    return {result, QString()};
}

std::vector<CurvePoint> fittedCurve(const FitResult& result, int count, bool logarithmic) {
    return modelCurve(result.model, result.values(), result.lowestHz, result.highestHz, count,
                      logarithmic);
}

} // namespace analysis
