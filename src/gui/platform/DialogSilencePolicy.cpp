// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DialogSilencePolicy.h"

#include "platform/Dialogs.h"
#include "values/ProgramEnding.h"

#include <utility>

DialogSilencePolicy::DialogSilencePolicy(Dialogs& dialogs, QString title,
                                         std::function<void()> shutdownPath)
    : m_dialogs(dialogs), m_title(std::move(title)), m_shutdownPath(std::move(shutdownPath)) {}

void DialogSilencePolicy::onSilence(const Silence& silence) {
    const MessageAnswer answer =
        m_dialogs.message(silence.message, MessageButtons::OkCancel, MessageIcon::None, m_title);
    if (answer != MessageAnswer::Cancel)
        return;
    m_shutdownPath();
    throw ProgramEnding();
}
