// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TableRows.h"

#include <QAbstractItemModel>

QList<QStringList> tableRows(const QAbstractItemModel& model) {
    QList<QStringList> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows << cells;
    }
    return rows;
}
