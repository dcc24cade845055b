// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/InstrumentVariant.h"
#include "profiles/ProfileParts.h"

InstrumentVariant px80Profile() {
    InstrumentVariant v;
    v.kind = VariantKind::PX80;
    v.applicationTitle = QStringLiteral("PX80panel");
    v.connection.caption = QStringLiteral("Marovex PX80 Vantorel V1.0");
    v.connection.versionLabel = QStringLiteral("Version 1.01");
    v.connection.baudLabel = QStringLiteral("Baud");
    v.connection.preparationCommands = {QStringLiteral("conf:disp m"),
                                        QStringLiteral("conf:fres sci")};
    v.link.commandTerminator = QByteArray("\n");
    v.link.seriesName = QStringLiteral("PX80");
    v.link.identityQuery = QStringLiteral("*idn?");
    v.link.identitySendsBareTerminatorFirst = false;
    v.config = px80ConfigProfile();
    v.measure = px80MeasureProfile();
    return v;
}
