// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeasurementNoise.h"

#include <cmath>

namespace lcrsim {

namespace {
constexpr double pi = 3.14159265358979323846;
} // namespace

MeasurementNoise::MeasurementNoise(double sigmaPercent, std::uint32_t seed)
    : m_sigma(sigmaPercent / 100.0), m_generator(seed) {}

std::complex<double> MeasurementNoise::apply(std::complex<double> impedance) {
    if (m_sigma <= 0.0)
        return impedance;
    // u1 in (0, 1], so the logarithm is finite.
    const double u1 = (static_cast<double>(m_generator()) + 1.0) / 4294967296.0;
    const double u2 = static_cast<double>(m_generator()) / 4294967296.0;
    const double normal = std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * pi * u2);
    return impedance * (1.0 + m_sigma * normal);
}

} // namespace lcrsim
