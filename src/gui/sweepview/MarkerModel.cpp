// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/MarkerModel.h"

#include "numbers/EngineeringNotation.h"
#include "run/SettingSweep.h"
#include "sweepview/RunRecord.h"

#include <QStringList>

#include <optional>

namespace {
constexpr int ColumnCount = 7;
// Digits of a difference: enough to tell two close readings apart.
constexpr int DifferenceDigits = 4;

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}
} // namespace

MarkerModel::MarkerModel(const RunRecord& record, QObject* parent)
    : QAbstractTableModel(parent), m_record(record) {
    // A voltage or bias sweep names its volts where a frequency sweep names the frequency.
    connect(&record, &RunRecord::begun, this,
            [this] { emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); });
}

void MarkerModel::setMarkers(std::vector<SweepMarker> markers) {
    const int before = static_cast<int>(m_markers.size());
    const int after = static_cast<int>(markers.size());
    if (after > before) {
        beginInsertRows({}, before, after - 1);
        m_markers = std::move(markers);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows({}, after, before - 1);
        m_markers = std::move(markers);
        endRemoveRows();
    } else {
        m_markers = std::move(markers);
    }
    if (after > 0)
        emit dataChanged(index(0, 0), index(after - 1, columnCount() - 1));
}

int MarkerModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_markers.size());
}

int MarkerModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MarkerModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(m_markers.at(static_cast<std::size_t>(index.row())), index.column());
}

QVariant MarkerModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return headers().value(section);
}

// The place along the sweep is its frequency, or the volts of a voltage or bias sweep.
QStringList MarkerModel::headers() const {
    const RunSetting swept = m_record.outline().swept;
    const QString along = runSettingName(swept == RunSetting::None ? RunSetting::Frequency : swept);
    return {QStringLiteral("Marker"),     along,
            QStringLiteral("Primary"),    QStringLiteral("Secondary"),
            QStringLiteral("Δ ") + along, QStringLiteral("Δ Primary"),
            QStringLiteral("Δ Secondary")};
}

QString MarkerModel::text(const SweepMarker& marker, int column) const {
    if (column == 0)
        return QStringLiteral("M%1").arg(marker.number);
    const std::vector<MeasuredPoint>& points = m_record.points();
    if (!marker.point || *marker.point >= points.size())
        return {};
    const MeasuredPoint& point = points[*marker.point];
    const ResultField values[] = {ResultField::PrimaryValue, ResultField::SecondaryValue};
    const ResultField units[] = {ResultField::PrimaryUnit, ResultField::SecondaryUnit};
    const QString alongUnit =
        point.sweptValue.isEmpty() ? QStringLiteral("Hz") : QStringLiteral("V");
    switch (column) {
    case 1:
        return EngineeringNotation::readout(point.abscissa(), alongUnit);
    case 2:
    case 3:
        return EngineeringNotation::readout(point.text(values[column - 2]),
                                            point.text(units[column - 2]));
    default:
        break;
    }
    // The differences to M1, for the other markers.
    const SweepMarker& first = m_markers.front();
    if (&marker == &first || !first.point || *first.point >= points.size())
        return {};
    const MeasuredPoint& reference = points[*first.point];
    if (column == 4) {
        const auto here = number(point.abscissa());
        const auto there = number(reference.abscissa());
        return here && there
                   ? EngineeringNotation::format(*here - *there, alongUnit, DifferenceDigits)
                   : QString();
    }
    const ResultField field = values[column - 5];
    const auto here = number(point.text(field));
    const auto there = number(reference.text(field));
    if (!here || !there)
        return {};
    return EngineeringNotation::format(*here - *there, point.text(units[column - 5]),
                                       DifferenceDigits);
}

QString MarkerModel::tabSeparated() const {
    QString text = headers().join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const SweepMarker& marker : m_markers) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column)
            cells << this->text(marker, column);
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}
