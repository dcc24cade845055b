// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UniqueFd.h"

#include <string>

namespace lcrsim {

// The instrument's end of the serial line: either the master of a fresh
// pseudo-terminal (the panel opens the slave) or an existing serial device.
// Closing it (destroying it) is what a pulled USB adapter looks like to the panel.
class SerialLine {
public:
    // A pseudo-terminal whose slave is already raw, so nothing is echoed even before the
    // panel opens it. The simulator holds a slave descriptor of its own, so the master
    // sees no hang-up while the panel closes and reopens the port. Throws
    // std::system_error.
    static SerialLine createPseudoTerminal();

    // An existing device or tty, put in raw mode at the given baud rate if it is a
    // terminal. Throws std::system_error.
    static SerialLine openDevice(const std::string& path, int baud);

    // Non-blocking descriptor the simulator reads commands from and writes replies to.
    int fd() const { return m_io.get(); }
    // The path the panel opens.
    const std::string& path() const { return m_path; }

private:
    SerialLine(UniqueFd io, UniqueFd keepAlive, std::string path);

    UniqueFd m_io;
    UniqueFd m_keepAlive;
    std::string m_path;
};

// True when the baud rate is one SerialLine::openDevice can set.
bool isSupportedBaud(int baud);

} // namespace lcrsim
