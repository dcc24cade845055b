// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sweepview/SweepChart.h"

#include <QAbstractTableModel>

#include <cstddef>
#include <optional>
#include <vector>

class RunRecord;

// A marker: the curve it sits on, the frequency it was put at, and the run's point it
// shows (the curve's point nearest to that frequency, none until one has arrived).
struct SweepMarker {
    int number = 1;
    SweepChart::Side side = SweepChart::Primary;
    QString name;
    QString unit;
    double frequency = 0.0;
    std::optional<std::size_t> point;
    // The step of a stepped run whose curve it sits on (-1: no step).
    int step = -1;
};

// The `MarkerTable`'s rows: the marker's number, its point's frequency, primary and
// secondary value in engineering notation, and for M2 to M4 the differences to M1.
class MarkerModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int MostMarkers = 4;

    explicit MarkerModel(const RunRecord& record, QObject* parent = nullptr);

    const std::vector<SweepMarker>& markers() const { return m_markers; }
    // Replaces the markers, keeping the rows the views know where it can.
    void setMarkers(std::vector<SweepMarker> markers);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The whole table as tab-separated text, its header first.
    QString tabSeparated() const;

private:
    QString text(const SweepMarker& marker, int column) const;
    QStringList headers() const;

    const RunRecord& m_record;
    std::vector<SweepMarker> m_markers;
};
