#pragma once

#include <QString>

// What the configuration window tells a run: single measurement or sweep, and the sweep
// entries as they stand (the run reads them into numbers itself, and fails on a text that
// is not one).
struct RunSettings {
    bool sweep = false;
    QString startText;
    QString stopText;
    QString stepsText;
    bool logarithmic = false;
};
