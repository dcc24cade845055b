// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ParameterChoice.h"

#include "profiles/ConfigProfile.h"

bool isDcPrimary(const ConfigProfile& profile, const QString& primary) {
    return profile.dcPrimaries.contains(primary);
}

QStringList secondaryItemsFor(const ConfigProfile& profile, const QString& primary) {
    return isDcPrimary(profile, primary) ? profile.dcSecondaryItems : profile.acSecondaryItems;
}
