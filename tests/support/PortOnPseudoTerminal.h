// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <fcntl.h>
#include <stdlib.h>

// Opens a pseudo-terminal and names its far side as port 1 (LCRPANEL_COM1), so that a
// QtSerialPortComponent opens it; returns the near side, or -1. The caller closes it.
inline int portOnPseudoTerminal() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return -1;
    qputenv("LCRPANEL_COM1", ::ptsname(master));
    return master;
}
