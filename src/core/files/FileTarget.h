// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the program checks about a path before it writes a file there.
namespace FileTarget {

// A FIFO, a device, a folder or a socket at the path: the program writes no file of its own
// there. Found without opening the path: opening a FIFO that nobody reads blocks for ever.
bool isOtherThanAFile(const QString& path);

// The reason given for such a path: "Not a regular file".
QString notARegularFile();

// The system's description of an error number ("No space left on device").
QString systemReason(int errorNumber);

} // namespace FileTarget
