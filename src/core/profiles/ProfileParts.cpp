// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileParts.h"

EntryRule entryRule(const QString& entry, EntryReading reading, double low, double high,
                    const QString& notNumber, const QString& outOfRange, const QString& reset,
                    const QString& title) {
    EntryRule r;
    r.entry = entry;
    r.reading = reading;
    r.low = low;
    r.high = high;
    r.notNumberMessage = notNumber;
    r.outOfRangeMessage = outOfRange;
    r.resetText = reset;
    r.title = title;
    return r;
}

UploadStep uploadStep(const QString& keyword, UploadStep::Argument argument, const QString& control,
                      int waitMs, UploadStep::When when) {
    UploadStep s;
    s.keyword = keyword;
    s.argument = argument;
    s.control = control;
    s.waitMs = waitMs;
    s.when = when;
    return s;
}
