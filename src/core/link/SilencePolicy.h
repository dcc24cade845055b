// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A read that received nothing at all within its limit.
struct Silence {
    QString message; // the not-responding text for this read, as the windows show it
    QString command; // the last command sent before the read, without its terminator
};

// What happens when the instrument says nothing: the front end decides. The windows ask the
// operator (OK goes on, Cancel ends the program); a script fails the command. Returning
// goes on with a reply marked timed out; anything else throws (ProgramEnding, or a failure
// of the front end's own) and unwinds the operation that read.
class SilencePolicy {
public:
    virtual ~SilencePolicy() = default;
    virtual void onSilence(const Silence& silence) = 0;
};
