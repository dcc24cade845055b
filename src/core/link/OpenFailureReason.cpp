// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/OpenFailureReason.h"

#include "files/FileTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QtGlobal>

#ifndef Q_OS_WIN
#include <cerrno>
#include <climits>
#include <csignal>
#include <unistd.h>
#endif

namespace {
QString busy() {
    return QStringLiteral("busy, held by another program");
}

#ifndef Q_OS_WIN
// The lock file QSerialPort makes before it opens a device: "LCK.." and the device's name
// below /dev/ with slashes as underscores, in the first of the usual lock folders that can
// be read and either holds that file already or can be written.
QString lockFileOf(const QString& device) {
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QLatin1String("/LCK.."));
    const QStringList folders{QStringLiteral("/var/lock"),
                              QStringLiteral("/etc/locks"),
                              QStringLiteral("/var/spool/locks"),
                              QStringLiteral("/var/spool/uucp"),
                              QStringLiteral("/tmp"),
                              QStringLiteral("/var/tmp"),
                              QStringLiteral("/var/lock/lockdev"),
                              QStringLiteral("/run/lock"),
                              QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        if (info.isReadable() && (QFile::exists(folder + name) || info.isWritable()))
            return folder + name;
    }
    return folders.constFirst() + name;
}

// The longest name of one folder entry in the device's path, its lock file's included.
bool nameTooLong(const QString& device, const QString& lockFile) {
    if (QFile::encodeName(device).size() >= PATH_MAX)
        return true;
    const QStringList parts = device.split(QLatin1Char('/')) << QFileInfo(lockFile).fileName();
    for (const QString& part : parts)
        if (QFile::encodeName(part).size() > NAME_MAX)
            return true;
    return false;
}

// The process named in a lock file (its first number), 0 when none can be read.
qint64 lockHolder(const QString& lockFile) {
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readLine().trimmed().toLongLong();
}

bool processRuns(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// QSerialPort reports every failure around the device's lock file as a permission error,
// like a device that the user may not open. The lock file and the device tell them apart.
QString lockOrPermission(const QString& device, const QString& systemText) {
    const QString lockFile = lockFileOf(device);
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0) {
        if (errno == ENOENT)
            return QStringLiteral("no such device");
#ifdef Q_OS_LINUX
        return QStringLiteral("permission denied, add your user to the dialout group");
#else
        return QStringLiteral("permission denied");
#endif
    }
    if (QFileInfo::exists(lockFile)) {
        const qint64 holder = lockHolder(lockFile);
        if (holder > 0 && !processRuns(holder))
            return QStringLiteral("locked by process %1, which no longer runs: remove %2")
                .arg(holder)
                .arg(lockFile);
        return busy();
    }
    const QString folder = QFileInfo(lockFile).path();
    const QString why = ::access(QFile::encodeName(folder).constData(), W_OK) != 0
                            ? FileTarget::systemReason(errno)
                            : systemText;
    return QStringLiteral("the lock file %1 cannot be made (%2)").arg(lockFile, why);
}
#endif
} // namespace

QString openFailureReason(QSerialPort::SerialPortError error, const QString& device,
                          const QString& systemText) {
#ifndef Q_OS_WIN
    // Whatever QSerialPort made of it (a missing device, a lock it could not take).
    if (nameTooLong(device, lockFileOf(device)))
        return QStringLiteral("the device name is too long (%1 characters)").arg(device.size());
#endif
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such device");
    case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
        // Windows refuses a port that another program has open as access denied.
        Q_UNUSED(device)
        Q_UNUSED(systemText)
        return busy();
#else
        return lockOrPermission(device, systemText);
#endif
    default:
        return systemText;
    }
}
