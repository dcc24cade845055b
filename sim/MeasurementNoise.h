// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <complex>
#include <cstdint>
#include <random>

namespace lcrsim {

// Gaussian noise on what the instrument measures: each measurement's |Z| is scaled by
// 1 + sigma n, n normal, the phase untouched. The draws are Box-Muller on mt19937, whose
// output the C++ standard fixes, so a seed gives the same readings on every platform.
class MeasurementNoise {
public:
    MeasurementNoise() = default; // no noise
    MeasurementNoise(double sigmaPercent, std::uint32_t seed);

    std::complex<double> apply(std::complex<double> impedance);

private:
    double m_sigma = 0.0;
    std::mt19937 m_generator;
};

} // namespace lcrsim
