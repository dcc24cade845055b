// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/SweepColumns.h"

#include "analysis/PointReading.h"
#include "logging/ResultLog.h"
#include "run/SettingSweep.h"
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

QStringList measuredHeaders(const Layout& layout) {
    QStringList names = measuredHeaders();
    if (layout.hasSweptColumn())
        names << sweptHeader(layout.swept);
    if (layout.hasStepColumn())
        names << QStringLiteral("Step");
    return names;
}

QString measuredText(const MeasuredPoint& point, int column, const Layout& layout) {
    if (column == 0)
        return QString::number(point.index + 1);
    if (column == 1)
        return point.frequency;
    if (column < static_cast<int>(FieldColumns.size()) + 2)
        return point.text(FieldColumns.at(static_cast<std::size_t>(column - 2)));
    // The run's own columns after the eight.
    if (layout.hasSweptColumn() && column == static_cast<int>(FieldColumns.size()) + 2)
        return point.sweptValue;
    return point.stepValue;
}

QStringList derivedTexts(const MeasuredPoint& point) {
    return analysis::formatQuantities(analysis::quantitiesOf(analysis::pointReading(point)));
}

QString joined(const std::vector<MeasuredPoint>& points, const Layout& layout,
               const QList<int>& columns, const QString& separator, const QString& lineEnd,
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
    appendLine(headers(layout));
    for (const MeasuredPoint& point : points)
        appendLine(cells(point, layout));
    return all;
}

QList<int> everyColumn(const Layout& layout) {
    QList<int> columns;
    for (int column = 0; column < count(layout); ++column)
        columns << column;
    return columns;
}

} // namespace

Layout Layout::of(const RunOutline& outline) {
    return {outline.swept, outline.stepped};
}

bool Layout::hasSweptColumn() const {
    return isVolts(swept);
}

QString sweptHeader(RunSetting swept) {
    return runSettingName(swept) + QStringLiteral(" (V)");
}

QString sweptJsonKey(RunSetting swept) {
    return runSettingName(swept).toLower() + QStringLiteral("_v");
}

QStringList headers(const Layout& layout) {
    return measuredHeaders(layout) + analysis::quantityHeaders();
}

int count(const Layout& layout) {
    return firstDerived(layout) + analysis::QuantityCount;
}

int firstDerived(const Layout& layout) {
    return static_cast<int>(measuredHeaders().size()) + (layout.hasSweptColumn() ? 1 : 0) +
           (layout.hasStepColumn() ? 1 : 0);
}

std::optional<analysis::Quantity> derivedQuantity(int column, const Layout& layout) {
    const int index = column - firstDerived(layout);
    if (index < 0 || index >= analysis::QuantityCount)
        return std::nullopt;
    return analysis::quantityTable().at(static_cast<std::size_t>(index)).quantity;
}

QString text(const MeasuredPoint& point, int column, const Layout& layout) {
    if (column < firstDerived(layout))
        return measuredText(point, column, layout);
    return derivedTexts(point).value(column - firstDerived(layout));
}

QStringList cells(const MeasuredPoint& point, const Layout& layout) {
    QStringList row;
    for (int column = 0; column < firstDerived(layout); ++column)
        row << measuredText(point, column, layout);
    return row + derivedTexts(point);
}

QString tabSeparated(const std::vector<MeasuredPoint>& points, const Layout& layout,
                     const QList<int>& columns) {
    return joined(points, layout, columns.isEmpty() ? everyColumn(layout) : columns,
                  QStringLiteral("\t"), QStringLiteral("\n"),
                  [](const QString& field) { return field; });
}

QString commaSeparated(const std::vector<MeasuredPoint>& points, const Layout& layout) {
    return joined(points, layout, everyColumn(layout), QStringLiteral(","), QStringLiteral("\r\n"),
                  ResultLog::csvField);
}

} // namespace SweepColumns
