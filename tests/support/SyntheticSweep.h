// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/CircuitModels.h"
#include "analysis/ImpedanceQuantities.h"
#include "analysis/PointReading.h"

#include <QString>

#include <optional>
#include <vector>

// The derived quantity that reads the same as an instrument parameter ("Cs", "Rp", "P").
std::optional<analysis::Quantity> quantityOfParameter(const QString& name);

// A sweep of an equivalent circuit as the instrument would report it: whole-hertz
// frequencies, each point as a pair of readings formatted "%.5E" (six significant digits).
struct SyntheticSweep {
    analysis::CircuitModel model = analysis::CircuitModel::SeriesRc;
    std::vector<double> values;
    double startHz = 100.0;
    double stopHz = 100e3;
    int points = 101;
    bool logarithmic = true;
    // Two parameter names, such as "Z-P", "Cs-DF" or "Rs-Q".
    QString pair = QStringLiteral("Z-P");
    // Gaussian noise on |Z|, sigma in %, the phase untouched; the same seed gives the same
    // noise on every platform.
    double noisePercent = 0.0;
    unsigned seed = 1;

    static SyntheticSweep of(const char* model, std::vector<double> values, double startHz,
                             double stopHz, int points, bool logarithmic, const char* pair);
    std::vector<analysis::PointReading> readings() const;
};
