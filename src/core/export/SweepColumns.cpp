#include "export/SweepColumns.h"

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

QString joined(const std::vector<MeasuredPoint>& points, const QString& separator,
               const QString& lineEnd, const std::function<QString(const QString&)>& field) {
    QString all;
    const auto appendLine = [&](const QStringList& cells) {
        for (int column = 0; column < cells.size(); ++column) {
            if (column > 0)
                all += separator;
            all += field(cells.at(column));
        }
        all += lineEnd;
    };
    appendLine(headers());
    for (const MeasuredPoint& point : points) {
        QStringList cells;
        for (int column = 0; column < count(); ++column)
            cells << text(point, column);
        appendLine(cells);
    }
    return all;
}

} // namespace

QStringList headers() {
    return {QStringLiteral("Point"),
            QStringLiteral("Frequency (Hz)"),
            QStringLiteral("Primary parameter"),
            QStringLiteral("Primary value"),
            QStringLiteral("Primary unit"),
            QStringLiteral("Secondary parameter"),
            QStringLiteral("Secondary value"),
            QStringLiteral("Secondary unit")};
}

int count() {
    return 2 + static_cast<int>(FieldColumns.size());
}

QString text(const MeasuredPoint& point, int column) {
    if (column == 0)
        return QString::number(point.index + 1);
    if (column == 1)
        return point.frequency;
    return point.text(FieldColumns.at(static_cast<std::size_t>(column - 2)));
}

QString tabSeparated(const std::vector<MeasuredPoint>& points) {
    return joined(points, QStringLiteral("\t"), QStringLiteral("\n"),
                  [](const QString& field) { return field; });
}

QString commaSeparated(const std::vector<MeasuredPoint>& points) {
    return joined(points, QStringLiteral(","), QStringLiteral("\r\n"), ResultLog::csvField);
}

} // namespace SweepColumns
