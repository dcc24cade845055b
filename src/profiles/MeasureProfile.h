#pragma once

#include <QString>

// Measurement window values that differ between the two programs.
// Filled in by profiles/lr40 and profiles/px80.
struct MeasureProfile {};
