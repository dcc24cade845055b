// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowWriter.h"

#include "export/SweepColumns.h"
#include "export/ValueNumber.h"
#include "files/FileTarget.h"
#include "logging/ResultLog.h"
#include "values/MeasuredPoint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace {
QString systemReason() {
    return FileTarget::systemReason(errno);
}

QByteArray csvLine(const QStringList& cells) {
    QStringList fields;
    for (const QString& cell : cells)
        fields << ResultLog::csvField(cell);
    return fields.join(QLatin1Char(',')).toUtf8() + '\n';
}

QJsonValue numberOrNull(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

// One object with its keys in the columns' order (a QJsonObject would sort them).
QByteArray jsonObject(const std::vector<std::pair<QByteArray, QJsonValue>>& members) {
    QByteArray line = "{";
    for (const auto& [key, value] : members) {
        if (line.size() > 1)
            line += ',';
        const QByteArray pair = QJsonDocument(QJsonArray{QString::fromLatin1(key), value})
                                    .toJson(QJsonDocument::Compact);
        // "[\"key\",value]" becomes "\"key\":value".
        const QByteArray inner = pair.mid(1, pair.size() - 2);
        const int comma = static_cast<int>(inner.indexOf("\","));
        line += inner.left(comma + 1) + ':' + inner.mid(comma + 2);
    }
    return line + "}\n";
}

QJsonValue numberOrNull(const QString& text) {
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    return isNumber ? QJsonValue(number) : QJsonValue(QJsonValue::Null);
}

QByteArray jsonLine(const MeasuredPoint& point, const SweepColumns::Layout& layout) {
    const QStringList cells = SweepColumns::cells(point, layout);
    const QStringList keys = analysis::quantityJsonKeys();
    const QString primary = point.text(ResultField::PrimaryValue);
    const QString secondary = point.text(ResultField::SecondaryValue);
    std::vector<std::pair<QByteArray, QJsonValue>> members{
        {"point", point.index + 1},
        {"frequency_hz", numberOrNull(point.frequency)},
        {"primary", point.text(ResultField::PrimaryName)},
        {"primary_value", primary},
        {"primary_unit", point.text(ResultField::PrimaryUnit)},
        {"primary_number", numberOrNull(valueNumber(primary))},
        {"secondary", point.text(ResultField::SecondaryName)},
        {"secondary_value", secondary},
        {"secondary_unit", point.text(ResultField::SecondaryUnit)},
        {"secondary_number", numberOrNull(valueNumber(secondary))},
    };
    if (layout.hasSweptColumn())
        members.emplace_back(SweepColumns::sweptJsonKey(layout.swept).toLatin1(),
                             numberOrNull(point.sweptValue));
    if (layout.hasStepColumn())
        members.emplace_back("step", numberOrNull(point.stepValue));
    // The derived quantities, each the number its column holds, null where it is empty.
    for (int i = 0; i < keys.size(); ++i) {
        const QString text = cells.value(SweepColumns::firstDerived(layout) + i);
        members.emplace_back(keys.at(i).toLatin1(), text.isEmpty()
                                                        ? QJsonValue(QJsonValue::Null)
                                                        : QJsonValue(QLocale::c().toDouble(text)));
    }
    return jsonObject(members);
}
} // namespace

bool RowWriter::openStandardOutput() {
    // Unbuffered: every row reaches the reader of the pipe as it is written.
    if (m_file.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    m_failure = m_file.errorString();
    return false;
}

bool RowWriter::openFile(const QString& path, bool append) {
    if (FileTarget::isOtherThanAFile(path)) {
        m_failure = QStringLiteral("%1  %2").arg(path, FileTarget::notARegularFile());
        return false;
    }
    m_file.setFileName(path);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered |
                                     (append ? QIODevice::Append : QIODevice::Truncate);
    errno = 0;
    if (!m_file.open(mode)) {
        m_failure =
            QStringLiteral("%1  %2").arg(path, errno ? systemReason() : m_file.errorString());
        return false;
    }
    m_needsHeader = m_file.size() == 0;
    return true;
}

bool RowWriter::writeHeader() {
    if (m_format != Format::Csv || !m_needsHeader)
        return true;
    m_needsHeader = false;
    return write(csvLine(SweepColumns::headers(m_layout)));
}

bool RowWriter::writePoint(const MeasuredPoint& point) {
    if (m_format == Format::JsonLines)
        return write(jsonLine(point, m_layout));
    return write(csvLine(SweepColumns::cells(point, m_layout)));
}

bool RowWriter::write(const QByteArray& bytes) {
    errno = 0;
    if (m_file.write(bytes) == bytes.size())
        return true;
    const QString reason = errno ? systemReason() : m_file.errorString();
    m_failure = m_file.fileName().isEmpty()
                    ? QStringLiteral("Standard output: %1").arg(reason)
                    : QStringLiteral("%1  %2").arg(m_file.fileName(), reason);
    return false;
}
