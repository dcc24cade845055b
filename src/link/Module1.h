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

// The program-wide values shared by the windows. One instance per program, owned by
// the program root.
struct Module1 {
    QString ReplyText;          // everything taken from the port by the last read
    bool ReplyTimedOut = false; // the last read got nothing and the operator chose OK
    QString ReplyCopy;          // working copy of a reply (identification or result)
    InstrumentIdentity Identity;
    bool PanelLocked = false; // the lock state last commanded by the Lockout button
};
