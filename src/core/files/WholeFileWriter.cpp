// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/WholeFileWriter.h"

#include "files/FileTarget.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace WholeFileWriter {

namespace {
// Straight to the system, so that every failure comes with its own reason (a buffered
// write fails only at the commit, where its reason is lost).
std::optional<QString> writeAll(int handle, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
#ifdef Q_OS_WIN
        const auto written =
            ::_write(handle, bytes.constData() + done, static_cast<unsigned>(bytes.size() - done));
#else
        const auto written =
            ::write(handle, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
#endif
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return FileTarget::systemReason(written < 0 ? errno : ENOSPC);
        done += written;
    }
    return std::nullopt;
}

// The bytes on the medium, not only in the system's cache. Files that cannot be synced
// count as written once the system has taken the bytes.
std::optional<QString> syncToDisk(int handle) {
#ifdef Q_OS_WIN
    if (::_commit(handle) == 0)
        return std::nullopt;
#else
    if (::fsync(handle) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP)
        return std::nullopt;
#endif
    return FileTarget::systemReason(errno);
}
} // namespace

std::optional<QString> write(const QString& path, const QByteArray& bytes) {
    if (FileTarget::isOtherThanAFile(path))
        return FileTarget::notARegularFile();
    const QFileInfo existing(path);
    // Root may write any file; a file its owner made read-only is kept all the same, and
    // refused with the words QSaveFile gives every other user.
    if (existing.exists() && !existing.permission(QFileDevice::WriteOwner))
        return QCoreApplication::translate("QSaveFile", "Existing file %1 is not writable")
            .arg(path);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    std::optional<QString> failure = writeAll(file.handle(), bytes);
    if (!failure)
        failure = syncToDisk(file.handle());
    if (!failure && existing.exists() && !file.setPermissions(existing.permissions()))
        failure = file.errorString();
    if (failure) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace WholeFileWriter
