// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/ConfigProfile.h"
#include "profiles/MeasureProfile.h"

// Each program's profile is assembled from per-window parts, one file each.

// The rows of the entry-check and upload tables, as both programs write them.
EntryRule entryRule(const QString& entry, EntryReading reading, double low, double high,
                    const QString& notNumber, const QString& outOfRange, const QString& reset,
                    const QString& title = QString());
UploadStep uploadStep(const QString& keyword, UploadStep::Argument argument, const QString& control,
                      int waitMs, UploadStep::When when = UploadStep::When::Always);

ConfigProfile lr40ConfigProfile();
ConfigProfile px80ConfigProfile();
MeasureProfile lr40MeasureProfile();
MeasureProfile px80MeasureProfile();
