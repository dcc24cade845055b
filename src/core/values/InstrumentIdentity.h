// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

// The identification line's fields, kept until the next line is split.
struct InstrumentIdentity {
    QString Maker;
    QString Model;
    QString SerialNumber;
    QString Firmware;
    // LR40: a float; PX80: a copy of the Firmware text.
    QVariant FirmwareNumber = 0.0f;
};
