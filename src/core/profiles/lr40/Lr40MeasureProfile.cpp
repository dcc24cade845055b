// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileParts.h"

MeasureProfile lr40MeasureProfile() {
    MeasureProfile p;
    p.resultFontPoints = 36.0;
    p.statusBoxName = QStringLiteral("tbxstatus");
    p.showsTestNumberAndBin = true;
    p.configCaption = QStringLiteral("Configure");
    p.frequencyCommandTerminator = QByteArray("\n");
    p.singleLetsEventsRunFirst = true;
    return p;
}
