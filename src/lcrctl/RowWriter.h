// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/SweepColumns.h"

#include <QFile>
#include <QString>

#include <optional>

struct MeasuredPoint;

// Writes recorded points as rows, each one whole and handed to the system as it comes, so
// that an interrupted sweep keeps its points. CSV: the sweep table's header and columns
// (RFC 4180, LF line ends). JSON lines: one object a point, no header.
class RowWriter {
public:
    enum class Format { Csv, JsonLines };

    explicit RowWriter(Format format) : m_format(format) {}

    // The run's own columns: a voltage or bias sweep's swept value, a stepped run's step.
    void setLayout(const SweepColumns::Layout& layout) { m_layout = layout; }

    // stdout, or the file at path: replaced, or extended with append (the CSV header then
    // only into an empty file). Refuses what is not a regular file. False with failure()
    // when it cannot.
    bool openStandardOutput();
    bool openFile(const QString& path, bool append);

    // False with failure() at the first write that did not go through.
    bool writeHeader();
    bool writePoint(const MeasuredPoint& point);

    QString failure() const { return m_failure; }

private:
    bool write(const QByteArray& bytes);

    Format m_format;
    SweepColumns::Layout m_layout;
    QFile m_file;
    bool m_needsHeader = true;
    QString m_failure;
};
