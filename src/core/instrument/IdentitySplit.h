// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct InstrumentIdentity;

// How a family's identification line ("Maker, Model, Serial, Firmware" + line end) is cut.
struct IdentityLayout {
    // LR40 drops the character after the first comma (the blank before the model).
    bool modelSkipsFirstCharacter = false;
    // LR40 also keeps the firmware as a number, and a firmware that is none rejects the line.
    bool firmwareIsNumber = false;
};

// Splits line into identity. Returns false, leaving identity as it was, when the line has
// fewer than three commas or the firmware must be a number and is not.
bool splitIdentity(const QString& line, const IdentityLayout& layout, InstrumentIdentity& identity);
