// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/SweepColumns.h"

#include "analysis/PointReading.h"
#include "logging/ResultLog.h"
#include "values/MeasuredPoint.h"

#include <array>
#include <functional>

namespace SweepColumns {

namespace {
// After the point number and the frequency, the fields in their column order.
constexpr std::array<ResultField, 6> FieldColumns{
    ResultField::PrimaryName,   ResultField::PrimaryValue,   ResultField::PrimaryUnit,
    ResultField::SecondaryName, ResultField::SecondaryValue, ResultField::SecondaryUnit,
};

const QStringList& measuredHeaders() {
    static const QStringList names{QStringLiteral("Point"),
                                   QStringLiteral("Frequency (Hz)"),
                                   QStringLiteral("Primary parameter"),
                                   QStringLiteral("Primary value"),
                                   QStringLiteral("Primary unit"),
                                   QStringLiteral("Secondary parameter"),
                                   QStringLiteral("Secondary value"),
                                   QStringLiteral("Secondary unit")};
    return names;
}

QString measuredText(const MeasuredPoint& point, int column) {
    if (column == 0)
        return QString::number(point.index + 1);
    if (column == 1)
        return point.frequency;
    return point.text(FieldColumns.at(static_cast<std::size_t>(column - 2)));
}

QStringList derivedTexts(const MeasuredPoint& point) {
    return analysis::formatQuantities(analysis::quantitiesOf(analysis::pointReading(point)));
}

QString joined(const std::vector<MeasuredPoint>& points, const QList<int>& columns,
               const QString& separator, const QString& lineEnd,
               const std::function<QString(const QString&)>& field) {
    QString all;
    const auto appendLine = [&](const QStringList& row) {
        bool first = true;
        for (int column : columns) {
            if (!first)
                all += separator;
            first = false;
            all += field(row.value(column));
        }
        all += lineEnd;
    };
    appendLine(headers());
    for (const MeasuredPoint& point : points)
        appendLine(cells(point));
    return all;
}

QList<int> everyColumn() {
    QList<int> columns;
    for (int column = 0; column < count(); ++column)
        columns << column;
    return columns;
}

} // namespace

QStringList headers() {
    return measuredHeaders() + analysis::quantityHeaders();
}

int count() {
    return firstDerived() + analysis::QuantityCount;
}

int firstDerived() {
    return static_cast<int>(measuredHeaders().size());
}

std::optional<analysis::Quantity> derivedQuantity(int column) {
    const int index = column - firstDerived();
    if (index < 0 || index >= analysis::QuantityCount)
        return std::nullopt;
    return analysis::quantityTable().at(static_cast<std::size_t>(index)).quantity;
}

QString text(const MeasuredPoint& point, int column) {
    if (column < firstDerived())
        return measuredText(point, column);
    return derivedTexts(point).value(column - firstDerived());
}

QStringList cells(const MeasuredPoint& point) {
    QStringList row;
    for (int column = 0; column < firstDerived(); ++column)
        row << measuredText(point, column);
    return row + derivedTexts(point);
}

QString tabSeparated(const std::vector<MeasuredPoint>& points, const QList<int>& columns) {
    return joined(points, columns.isEmpty() ? everyColumn() : columns, QStringLiteral("\t"),
                  QStringLiteral("\n"), [](const QString& field) { return field; });
}

QString commaSeparated(const std::vector<MeasuredPoint>& points) {
    return joined(points, everyColumn(), QStringLiteral(","), QStringLiteral("\r\n"),
                  ResultLog::csvField);
}

} // namespace SweepColumns
