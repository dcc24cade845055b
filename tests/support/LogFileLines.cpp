// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LogFileLines.h"

#include <QFile>

QStringList logFileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing>")};
    const QByteArray bytes = file.readAll();
    QStringList lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype end = bytes.indexOf("\r\n", from);
        if (end < 0) {
            lines << QStringLiteral("<torn: %1>").arg(QString::fromUtf8(bytes.mid(from)));
            break;
        }
        const QString line = QString::fromUtf8(bytes.mid(from, end - from));
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            lines << QStringLiteral("<stray line end: %1>").arg(line);
        else
            lines << line;
        from = end + 2;
    }
    return lines;
}
