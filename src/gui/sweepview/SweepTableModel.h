// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/SweepColumns.h"

#include <QAbstractTableModel>

class RunRecord;

// The run's points as table rows, read straight from the record and grown as it grows.
class SweepTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SweepTableModel(const RunRecord& record, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    SweepColumns::Layout layout() const;

    const RunRecord& m_record;
    // The rows the views have been told of; the record is one step ahead while a point is
    // announced.
    int m_rows;
};
