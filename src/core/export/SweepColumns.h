// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/ImpedanceQuantities.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct MeasuredPoint;

// The columns of the sweep table, shared by the table on screen and its exports, so that
// what is copied or saved is exactly what is shown: the point's own columns as the run gave
// them, then the quantities derived from its impedance ("%.5E", empty where it has none).
namespace SweepColumns {

QStringList headers();
int count();
// The first derived column; every column from it on holds one analysis::Quantity.
int firstDerived();
std::optional<analysis::Quantity> derivedQuantity(int column);
// The cell's text: the point number from 1, then each field exactly as the run gave it,
// then the derived values.
QString text(const MeasuredPoint& point, int column);
// Every cell of a point's row, the derived values computed once.
QStringList cells(const MeasuredPoint& point);

// The header line and one line per point, fields joined by TAB, each line ended by LF;
// only the given columns when some are given.
QString tabSeparated(const std::vector<MeasuredPoint>& points, const QList<int>& columns = {});
// The same as comma-separated text (RFC 4180): a field holding a comma, a quote, CR or LF
// is quoted with its quotes doubled; every line ends with CR LF.
QString commaSeparated(const std::vector<MeasuredPoint>& points);

} // namespace SweepColumns
