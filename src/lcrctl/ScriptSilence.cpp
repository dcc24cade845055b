// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptSilence.h"

#include "link/InstrumentLink.h"

void ScriptSilence::onSilence(const Silence& silence) {
    if (silence.command == QLatin1String("*STB?"))
        return;
    throw NoAnswer(QStringLiteral("The instrument did not answer %1 within %2 s on %3")
                       .arg(silence.command)
                       .arg(InstrumentLink::ReadLimitSeconds)
                       .arg(m_device));
}
