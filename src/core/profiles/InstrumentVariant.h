// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/ConfigProfile.h"
#include "profiles/MeasureProfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Which instrument family a program serves. Only makeInstrument() (src/instrument) looks
// at it, to choose the family's instrument object, which holds everything the families do
// differently in sequence; everything that differs only in value lives in the profile below.
enum class VariantKind { LR40, PX80 };

// Everything about the connection window that differs between the two programs.
struct ConnectionProfile {
    QString caption;                 // window title of Form1
    QString versionLabel;            // text of Version
    QString baudLabel;               // text of Label5
    QStringList preparationCommands; // sent at connect, in order
};

// Everything about the instrument link that differs between the two programs.
struct LinkProfile {
    QByteArray commandTerminator; // written after every command
    QString seriesName;           // used in the not-responding messages
    QString identityQuery;        // "*IDN?" or "*idn?"
    bool identitySendsBareTerminatorFirst = false;
};

// The instrument profile a program is built with. One plain value, so both profiles
// can live side by side in one process (the tests run either).
struct InstrumentVariant {
    VariantKind kind = VariantKind::LR40;
    QString applicationTitle; // title of every message box that names none of its own
    ConnectionProfile connection;
    LinkProfile link;
    ConfigProfile config;
    MeasureProfile measure;
};

InstrumentVariant lr40Profile();
InstrumentVariant px80Profile();
