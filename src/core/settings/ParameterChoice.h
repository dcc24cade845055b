// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct ConfigProfile;

// The measured-parameter rules that need no window: which primaries are DC measurements and
// which secondary parameters go with a primary.

inline const QString AutoPrimary = QStringLiteral("Auto");

bool isDcPrimary(const ConfigProfile& profile, const QString& primary);

// The secondary list offered after a primary other than "Auto" is chosen, "None" first.
QStringList secondaryItemsFor(const ConfigProfile& profile, const QString& primary);
