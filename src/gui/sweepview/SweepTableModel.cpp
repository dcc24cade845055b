// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/SweepTableModel.h"

#include "export/SweepColumns.h"
#include "numbers/EngineeringNotation.h"
#include "sweepview/RunRecord.h"
#include "values/MeasuredPoint.h"

#include <QLocale>

SweepTableModel::SweepTableModel(const RunRecord& record, QObject* parent)
    : QAbstractTableModel(parent), m_record(record),
      m_rows(static_cast<int>(record.points().size())) {
    connect(&record, &RunRecord::begun, this, [this] {
        beginResetModel();
        m_rows = 0;
        endResetModel();
    });
    connect(&record, &RunRecord::pointAdded, this, [this](int row) {
        beginInsertRows(QModelIndex(), m_rows, row);
        m_rows = row + 1;
        endInsertRows();
    });
}

SweepColumns::Layout SweepTableModel::layout() const {
    return SweepColumns::Layout::of(m_record.outline());
}

int SweepTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int SweepTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SweepColumns::count(layout());
}

QVariant SweepTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    const MeasuredPoint& point = m_record.points().at(static_cast<std::size_t>(index.row()));
    const std::optional<analysis::Quantity> quantity =
        SweepColumns::derivedQuantity(index.column(), layout());
    const QString plain = SweepColumns::text(point, index.column(), layout());
    if (!quantity)
        return plain;
    // Derived values as a bench engineer reads them; the exports keep the plain numbers.
    if (plain.isEmpty())
        return plain;
    return EngineeringNotation::format(QLocale::c().toDouble(plain),
                                       QLatin1String(analysis::quantityInfo(*quantity).unit), 6);
}

QVariant SweepTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return SweepColumns::headers(layout()).value(section);
    return QVariant();
}
