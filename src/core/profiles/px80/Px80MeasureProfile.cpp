// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileParts.h"

MeasureProfile px80MeasureProfile() {
    MeasureProfile p;
    p.resultFontPoints = 48.0;
    p.statusBoxName = QStringLiteral("Test");
    p.showsTestNumberAndBin = false;
    p.configCaption = QStringLiteral("&Configure");
    p.frequencyCommandTerminator = QByteArray("\n");
    p.singleLetsEventsRunFirst = false;
    p.logFailureTitle = QStringLiteral("PX80");
    return p;
}
