#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct MeasuredPoint;

// The columns of the sweep table, shared by the table on screen and its exports, so that
// what is copied or saved is exactly what is shown.
namespace SweepColumns {

QStringList headers();
int count();
// The cell's text: the point number from 1, then each field exactly as the run gave it.
QString text(const MeasuredPoint& point, int column);

// The header line and one line per point, fields joined by TAB, each line ended by LF.
QString tabSeparated(const std::vector<MeasuredPoint>& points);
// The same as comma-separated text (RFC 4180): a field holding a comma, a quote, CR or LF
// is quoted with its quotes doubled; every line ends with CR LF.
QString commaSeparated(const std::vector<MeasuredPoint>& points);

} // namespace SweepColumns
