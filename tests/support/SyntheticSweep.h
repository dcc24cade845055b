#pragma once

#include "analysis/CircuitModels.h"
#include "analysis/PointReading.h"

#include <QString>

#include <vector>

// A sweep of an equivalent circuit as the instrument would report it: whole-hertz
// frequencies, each point as a pair of readings formatted "%.5E" (six significant digits).
struct SyntheticSweep {
    analysis::CircuitModel model = analysis::CircuitModel::SeriesRc;
    std::vector<double> values;
    double startHz = 100.0;
    double stopHz = 100e3;
    int points = 101;
    bool logarithmic = true;
    // "Z-P" (|Z| and the phase in degrees), "Cs-DF", "Ls-Q", "Rs-Xs" or "Rs-Q".
    QString pair = QStringLiteral("Z-P");
    // Gaussian noise on |Z|, sigma in %, the phase untouched; the same seed gives the same
    // noise on every platform.
    double noisePercent = 0.0;
    unsigned seed = 1;

    std::vector<analysis::PointReading> readings() const;
};
