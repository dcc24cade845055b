// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/ImpedanceQuantities.h"
#include "values/RunSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct MeasuredPoint;
struct RunOutline;

// The columns of the sweep table, shared by the table on screen and its exports, so that
// what is copied or saved is exactly what is shown: the point's own columns as the run gave
// them, then the quantities derived from its impedance ("%.5E", empty where it has none).
namespace SweepColumns {

// Which columns a run has besides the eight of every sweep: a voltage or bias sweep's
// swept value ("Voltage (V)", "Bias (V)") and a stepped run's "Step", in that order, before
// the derived ones. A frequency sweep without a step has neither.
struct Layout {
    RunSetting swept = RunSetting::Frequency;
    RunSetting stepped = RunSetting::None;

    static Layout of(const RunOutline& outline);
    bool hasSweptColumn() const;
    bool hasStepColumn() const { return stepped != RunSetting::None; }
};

// A voltage or bias sweep's own column: "Voltage (V)" or "Bias (V)", in JSON "voltage_v"
// or "bias_v".
QString sweptHeader(RunSetting swept);
QString sweptJsonKey(RunSetting swept);

QStringList headers(const Layout& layout = {});
int count(const Layout& layout = {});
// The first derived column; every column from it on holds one analysis::Quantity.
int firstDerived(const Layout& layout = {});
std::optional<analysis::Quantity> derivedQuantity(int column, const Layout& layout = {});
// The cell's text: the point number from 1, then each field exactly as the run gave it
// (the swept and step values as sent), then the derived values.
QString text(const MeasuredPoint& point, int column, const Layout& layout = {});
// Every cell of a point's row, the derived values computed once.
QStringList cells(const MeasuredPoint& point, const Layout& layout = {});

// The header line and one line per point, fields joined by TAB, each line ended by LF;
// only the given columns when some are given.
QString tabSeparated(const std::vector<MeasuredPoint>& points, const Layout& layout = {},
                     const QList<int>& columns = {});
// The same as comma-separated text (RFC 4180): a field holding a comma, a quote, CR or LF
// is quoted with its quotes doubled; every line ends with CR LF.
QString commaSeparated(const std::vector<MeasuredPoint>& points, const Layout& layout = {});

} // namespace SweepColumns
