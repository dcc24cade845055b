// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The lines of a log file as the program left it on disk, without their CR LF. A file that
// breaks the line format shows it in the result: "<missing>" when there is no file,
// "<torn: text>" for bytes after the last CR LF, "<stray line end: text>" for a line
// holding a lone CR or LF.
QStringList logFileLines(const QString& path);
