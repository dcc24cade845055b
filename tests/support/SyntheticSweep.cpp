#include "SyntheticSweep.h"

#include <cmath>
#include <random>

namespace {

constexpr double pi = 3.14159265358979323846;

QString reading(double value) {
    return QString::number(value, 'E', 5);
}

// Box-Muller on mt19937's output, which the standard fixes bit for bit (the standard's
// normal_distribution is not the same everywhere).
double gaussian(std::mt19937& generator) {
    const double u1 = (generator() + 1.0) / 4294967297.0;
    const double u2 = generator() / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * pi * u2);
}

} // namespace

std::vector<analysis::PointReading> SyntheticSweep::readings() const {
    std::mt19937 generator(seed);
    std::vector<analysis::PointReading> sweep;
    for (int i = 0; i < points; ++i) {
        const double t = points > 1 ? static_cast<double>(i) / (points - 1) : 0.0;
        const double f = std::round(logarithmic ? startHz * std::pow(stopHz / startHz, t)
                                                : startHz + (stopHz - startHz) * t);
        std::complex<double> z = analysis::modelImpedance(model, values, f);
        z *= 1.0 + noisePercent / 100.0 * gaussian(generator);
        const double omega = 2.0 * pi * f;
        analysis::PointReading point;
        point.frequencyHz = f;
        const QStringList names = pair.split(QLatin1Char('-'));
        point.primaryName = names.value(0);
        point.secondaryName = names.value(1);
        if (pair == QLatin1String("Cs-DF")) {
            point.primaryValue = reading(-1.0 / (omega * z.imag()));
            point.primaryUnit = QStringLiteral("F");
            point.secondaryValue = reading(std::fabs(z.real() / z.imag()));
        } else if (pair == QLatin1String("Ls-Q")) {
            point.primaryValue = reading(z.imag() / omega);
            point.primaryUnit = QStringLiteral("H");
            point.secondaryValue = reading(std::fabs(z.imag() / z.real()));
        } else if (pair == QLatin1String("Rs-Q")) {
            point.primaryValue = reading(z.real());
            point.primaryUnit = QStringLiteral("Ohm");
            point.secondaryValue = reading(std::fabs(z.imag() / z.real()));
        } else if (pair == QLatin1String("Rs-Xs")) {
            point.primaryValue = reading(z.real());
            point.primaryUnit = QStringLiteral("Ohm");
            point.secondaryValue = reading(z.imag());
            point.secondaryUnit = QStringLiteral("Ohm");
        } else {
            point.primaryValue = reading(std::abs(z));
            point.primaryUnit = QStringLiteral("Ohm");
            point.secondaryValue = reading(std::arg(z) * 180.0 / pi);
            point.secondaryUnit = QStringLiteral("deg");
        }
        sweep.push_back(point);
    }
    return sweep;
}
