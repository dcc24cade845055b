#pragma once

#include <QString>
#include <QStringList>

// Configuration window values that differ between the two programs.
// Filled in by profiles/lr40 and profiles/px80.
struct ConfigProfile {};
