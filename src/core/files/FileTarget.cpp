// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileTarget.h"

#include <QFileInfo>

#include <cstring>

namespace FileTarget {

bool isOtherThanAFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

QString notARegularFile() {
    return QStringLiteral("Not a regular file");
}

QString systemReason(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace FileTarget
