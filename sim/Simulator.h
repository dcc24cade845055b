// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandFramer.h"
#include "CommandLog.h"
#include "DeviceLink.h"
#include "Instrument.h"
#include "Options.h"
#include "ReplyOverrides.h"
#include "ReplyQueue.h"
#include "SerialLine.h"
#include "TerminationSignals.h"

#include <optional>
#include <string>

namespace lcrsim {

// The event loop: one poll() over the line and the termination signals, with timeouts
// only for pending reply pieces and a scheduled reopen, so an idle simulator sleeps.
// Applies the injected faults around the instrument.
class Simulator {
public:
    // Throws when the log file cannot be opened.
    explicit Simulator(Options options);

    // Runs until a termination signal (or the close fault with --exit-after-close).
    // Returns the process exit status.
    int run();

private:
    void openLine();
    void closeLine(const std::string& why);
    // The close fault: the line closes, then comes back or the simulator ends, as asked.
    void cutLine(const std::string& why, Clock::time_point now);
    void receive();
    void transmit(Clock::time_point now);
    void handle(const ReceivedCommand& command, Clock::time_point now);
    int pollTimeoutMs(Clock::time_point now) const;
    void saveState() const;
    void trace(const std::string& message) const;

    Options m_options;
    Instrument m_instrument;
    ReplyOverrides m_overrides;
    ReplyQueue m_replies;
    CommandFramer m_framer;
    std::optional<CommandLog> m_log;
    DeviceLink m_link;
    TerminationSignals m_signals;
    std::optional<SerialLine> m_line;

    unsigned long m_nonEmptyCommands = 0;
    bool m_closeFaultFired = false;
    bool m_leftoverSent = false;
    bool m_stopping = false;
    std::optional<Clock::time_point> m_reopenAt;
    std::optional<Clock::time_point> m_cutAt; // the next cut of --cut-every
};

} // namespace lcrsim
