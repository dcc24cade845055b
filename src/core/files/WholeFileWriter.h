// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Writes a file in one piece, whole or not at all: the bytes go to a temporary file
// beside the target, are pushed to the disk and checked, and only then take the target's
// place. A failure at any step leaves an existing file as it was.
//
// Refused without writing: a path that names something other than a regular file
// ("Not a regular file"), and an existing file without write permission for its owner
// ("Existing file <path> is not writable"), for root too. A file replaced keeps its
// permissions.
namespace WholeFileWriter {

// Nothing when the file is written; otherwise the reason, in the system's words where the
// system gave one ("No space left on device").
std::optional<QString> write(const QString& path, const QByteArray& bytes);

} // namespace WholeFileWriter
