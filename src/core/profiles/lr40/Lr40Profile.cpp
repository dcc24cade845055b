// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/InstrumentVariant.h"
#include "profiles/ProfileParts.h"

InstrumentVariant lr40Profile() {
    InstrumentVariant v;
    v.kind = VariantKind::LR40;
    v.applicationTitle = QStringLiteral("LR40");
    v.connection.caption = QStringLiteral("Marovex LR40 Vantorel V1.0");
    v.connection.versionLabel = QStringLiteral("Version 2.0");
    v.connection.baudLabel = QStringLiteral("Baud :");
    v.connection.preparationCommands = {QStringLiteral("syst:trig ext"),
                                        QStringLiteral("syst:disp dmeas"),
                                        QStringLiteral("syst:fres sci")};
    v.link.commandTerminator = QByteArray("\r");
    v.link.seriesName = QStringLiteral("LR40");
    v.link.identityQuery = QStringLiteral("*IDN?");
    v.link.identitySendsBareTerminatorFirst = true;
    v.config = lr40ConfigProfile();
    v.measure = lr40MeasureProfile();
    return v;
}
