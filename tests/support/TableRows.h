// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>

class QAbstractItemModel;

// The display texts of a table model, row by row.
QList<QStringList> tableRows(const QAbstractItemModel& model);
