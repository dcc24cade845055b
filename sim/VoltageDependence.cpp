// SPDX-License-Identifier: GPL-3.0-or-later
#include "VoltageDependence.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace lcrsim {

double biasVoltsOf(const std::string& biasSetting) {
    if (biasSetting.empty())
        return 0.0;
    char* end = nullptr;
    errno = 0;
    const double volts = std::strtod(biasSetting.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(volts))
        return 0.0;
    return volts;
}

Component componentUnderVoltage(const Component& component, const VoltageCoefficients& coefficients,
                                double biasVolts, double levelVolts) {
    Component measured = component;
    if (coefficients.biasVolts) {
        const double ratio = biasVolts / *coefficients.biasVolts;
        measured.capacitance /= 1.0 + ratio * ratio;
    }
    if (coefficients.levelPerVolt)
        measured.inductance *= 1.0 + *coefficients.levelPerVolt * levelVolts;
    return measured;
}

} // namespace lcrsim
