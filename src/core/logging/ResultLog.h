// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

// The program's one log file. It belongs to the program, not to a window, so it outlives
// the measurement window.
//
// Every line ends in CR LF and reaches the disk before the call returns, so a crash loses
// no result that was shown. Failures are returned, never thrown; failureText() then holds
// the platform's description.
class ResultLog {
public:
    enum class OpenMode { Truncate, Append };

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

    // Closes any open file first. False when the file cannot be opened, or when the path
    // names something other than a regular file (failureText() "Not a regular file").
    bool open(const QString& path, OpenMode mode);

    // Writes line + CR LF. False when it could not be written (or no file is open).
    bool appendLine(const QString& line);
    // Joins the fields with ","; a field holding a comma, a quote or a line end is quoted.
    bool appendRecord(const QStringList& fields);

    // Closes the file if one is open; does nothing otherwise. Writes no closing line.
    // False when the file system reported a failure while closing.
    bool close();

    QString failureText() const { return m_failure; }

    // The probe before opening: the file exists, is a regular file and can be opened for
    // reading. Anything else at the path is never opened.
    static bool canRead(const QString& path);
    // The field as a comma-separated file needs it; ordinary texts stay as they are.
    static QString csvField(const QString& field);
    // "Start Log ," or "Stop Log ," followed by the date, "," and the time of day, in the
    // user's short formats.
    static QString markLine(const QString& opening, const QDateTime& when);

private:
    bool fail();

    QFile m_file;
    QString m_failure;
};
