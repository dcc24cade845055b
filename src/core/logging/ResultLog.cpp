// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/ResultLog.h"

#include "files/FileTarget.h"

#include <QLocale>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// Pushes what the system holds for the file onto the medium. Files that cannot be synced
// (pipes, character devices) count as written once the system has taken the bytes.
// Returns the failure's description, empty when the data is safe.
QString syncToDisk(int handle) {
#ifdef Q_OS_WIN
    if (_commit(handle) == 0)
        return QString();
#else
    if (::fsync(handle) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP)
        return QString();
#endif
    return QString::fromLocal8Bit(std::strerror(errno));
}

// False when the path no longer names the open file: someone removed, renamed or replaced
// it, and what is written now reaches no file anybody can find. (Windows does not let an
// open file be removed.)
bool stillNamedBy(int handle, const QString& path) {
#ifdef Q_OS_WIN
    Q_UNUSED(handle);
    Q_UNUSED(path);
    return true;
#else
    struct stat open {};
    struct stat named {};
    if (::fstat(handle, &open) != 0)
        return true; // nothing to compare with
    if (::stat(QFile::encodeName(path).constData(), &named) != 0)
        return errno != ENOENT && errno != ENOTDIR;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
#endif
}

} // namespace

bool ResultLog::open(const QString& path, OpenMode mode) {
    close();
    m_failure.clear();
    m_file.setFileName(path);
    if (FileTarget::isOtherThanAFile(path)) {
        m_failure = FileTarget::notARegularFile();
        return false;
    }
    // Unbuffered: each line goes to the system as it is appended.
    const QIODevice::OpenMode how =
        QIODevice::WriteOnly | QIODevice::Unbuffered |
        (mode == OpenMode::Truncate ? QIODevice::Truncate : QIODevice::Append);
    if (!m_file.open(how))
        return fail();
    return true;
}

bool ResultLog::appendLine(const QString& line) {
    if (!m_file.isOpen()) {
        m_failure = QStringLiteral("No log file is open");
        return false;
    }
    const QByteArray bytes = line.toUtf8() + "\r\n";
    const qint64 lineStart = m_file.size();
    // A short write is tried again, so that a full medium reports its own reason.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            fail();
            // The part of the line that did fit is taken back: the file keeps whole lines.
            m_file.resize(lineStart);
            return false;
        }
        done += written;
    }
    m_failure = syncToDisk(m_file.handle());
    if (m_failure.isEmpty() && !stillNamedBy(m_file.handle(), m_file.fileName()))
        m_failure = QStringLiteral("The log file was removed or replaced while logging");
    return m_failure.isEmpty();
}

bool ResultLog::appendRecord(const QStringList& fields) {
    QStringList written;
    written.reserve(fields.size());
    for (const QString& field : fields)
        written << csvField(field);
    return appendLine(written.join(QLatin1Char(',')));
}

bool ResultLog::close() {
    if (!m_file.isOpen())
        return true;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        return fail();
    return true;
}

bool ResultLog::fail() {
    m_failure = m_file.errorString();
    return false;
}

bool ResultLog::canRead(const QString& path) {
    if (FileTarget::isOtherThanAFile(path))
        return false;
    QFile probe(path);
    return probe.open(QIODevice::ReadOnly);
}

QString ResultLog::csvField(const QString& field) {
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar c : field)
        quote = quote || needsQuotes.contains(c);
    if (!quote)
        return field;
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString ResultLog::markLine(const QString& opening, const QDateTime& when) {
    const QLocale locale = QLocale::system();
    return opening + locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(',') +
           locale.toString(when.time(), QLocale::ShortFormat);
}
