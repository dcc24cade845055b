// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/SilencePolicy.h"

#include <functional>

class Dialogs;

// The windows' answer to a silent instrument: the not-responding message with OK and
// Cancel under the program's title. OK goes on; Cancel runs the shutdown path and ends the
// interrupted operation with ProgramEnding.
class DialogSilencePolicy final : public SilencePolicy {
public:
    DialogSilencePolicy(Dialogs& dialogs, QString title, std::function<void()> shutdownPath);
    void onSilence(const Silence& silence) override;

private:
    Dialogs& m_dialogs;
    QString m_title;
    std::function<void()> m_shutdownPath;
};
