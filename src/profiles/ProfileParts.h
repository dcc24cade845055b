#pragma once

#include "profiles/ConfigProfile.h"
#include "profiles/MeasureProfile.h"

// Each program's profile is assembled from per-window parts, one file each.
ConfigProfile lr40ConfigProfile();
ConfigProfile px80ConfigProfile();
MeasureProfile lr40MeasureProfile();
MeasureProfile px80MeasureProfile();
