// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/SweepColumns.h"
#include "sweepview/SweepChart.h"

#include <QWidget>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class Dialogs;
class QAction;
class QCheckBox;
class QComboBox;
class QCPGraph;
class QTableWidget;
class MarkerModel;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;
class RunRecord;
class SweepTableModel;
struct MeasuredPoint;
struct SweepMarker;
struct Trace;
namespace analysis {
struct FitOutcome;
struct FitResult;
} // namespace analysis

// The window captioned "Sweep": the chart and the table of the Results window's current or
// last run, its progress and the exports. It only reads the run record, so it can be opened
// and closed at any time, during a run too; when made, it rebuilds from what the record
// holds and then follows it point by point.
class SweepView : public QWidget {
    Q_OBJECT
public:
    // The record and the dialogs must outlive the view. With a parent, the view is still a
    // window of its own, and goes when its parent goes.
    SweepView(const RunRecord& record, Dialogs& dialogs, QWidget* parent = nullptr);
    ~SweepView() override;

    SweepChart* chart() const { return m_chart; }
    QTableView* table() const { return m_table; }
    QCheckBox* logFrequency() const { return m_logFrequency; }
    QLabel* progress() const { return m_progress; }
    QLabel* timeLeft() const { return m_timeLeft; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* saveDataButton() const { return m_saveData; }
    QPushButton* saveImageButton() const { return m_saveImage; }
    QCheckBox* logValues() const { return m_logValues; }
    QCheckBox* deviation() const { return m_deviation; }
    QTableView* markerTable() const { return m_markerTable; }
    MarkerModel* markerModel() const { return m_markerModel; }
    QListWidget* referenceList() const { return m_referenceList; }
    QPushButton* peakButton() const { return m_peak; }
    QPushButton* minimumButton() const { return m_minimum; }
    QPushButton* clearMarkersButton() const { return m_clearMarkers; }
    QPushButton* holdReferenceButton() const { return m_holdReference; }
    QPushButton* loadReferenceButton() const { return m_loadReference; }
    QComboBox* primaryQuantity() const { return m_primaryQuantity; }
    QComboBox* secondaryQuantity() const { return m_secondaryQuantity; }
    QComboBox* fitModel() const { return m_fitModel; }
    QPushButton* fitButton() const { return m_fit; }
    QTableWidget* fitResults() const { return m_fitResults; }
    QCheckBox* modelCurve() const { return m_modelCurve; }
    // The model's curve on a side (empty until a fit succeeded).
    QCPGraph* modelGraph(SweepChart::Side side) const;
    // The reference traces, in the order of the list.
    const Trace& reference(int row) const { return *m_traces.at(static_cast<std::size_t>(row)); }
    // What the exported image's caption names as the instrument ("LR41 01234567").
    void setInstrument(const QString& text) { m_instrument = text; }
    // The caption line of an exported image.
    QString imageCaption() const;
    // Puts the next marker (or, with all four placed, moves the selected one) on the run's
    // point of a curve nearest to a frequency.
    void placeMarker(SweepChart::Side side, const QString& name, const QString& unit,
                     double frequency, int step = -1);

    static constexpr int MostReferences = 8;

public slots:
    void copyTable();
    void saveData();
    void saveImage();
    void placePeak();
    void placeMinimum();
    void clearMarkers();
    void holdReference();
    void loadReference();
    void loadReferenceFrom(const QString& path);
    void fitCircuit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Curve {
        std::vector<double> frequencies;
        std::vector<double> values;
    };

    void buildControls();
    void layOutControls();
    void rebuild();
    void catchUpLater();
    // Brings the chart, the table's scrolling and the progress up to the record.
    void catchUp();
    void showProgress();
    void showState();
    void reportSaveFailure(const QString& path, const QString& reason);
    void plotPoint(const MeasuredPoint& point);
    void redrawRun();
    void showReferences();
    const Trace* deviationReference() const;
    Curve curveOf(SweepChart::Side side, const QString& name, const QString& unit, int step) const;
    bool fitsRun(const Trace& trace) const;
    std::unique_ptr<Trace> traceOfRun(int step) const;
    void snapMarkers();
    void showMarkers(std::vector<SweepMarker> markers);
    int selectedMarker() const;
    void placeExtreme(bool largest);
    void moveSelectedMarker(int step);
    void onChartClicked(const QPointF& position);
    void keepPreviousRun();
    void addReference(std::unique_ptr<Trace> trace, bool shown);
    // Analysis: the derived columns, the quantities on the axes and the circuit fit.
    void buildAnalysis();
    QList<int> shownColumns() const;
    // The record's run's columns, and the operator's choice of derived ones applied to them.
    SweepColumns::Layout columnLayout() const;
    void applyColumnChoices();
    void plotQuantities(const MeasuredPoint& point);
    void showFitResult(const analysis::FitOutcome& outcome);
    void drawModelCurve();

    const RunRecord& m_record;
    Dialogs& m_dialogs;
    SweepTableModel* m_model;
    SweepChart* m_chart;
    QTableView* m_table;
    QCheckBox* m_logFrequency;
    QLabel* m_progress;
    QLabel* m_timeLeft;
    QPushButton* m_copy;
    QPushButton* m_saveData;
    QPushButton* m_saveImage;
    QCheckBox* m_logValues;
    QCheckBox* m_deviation;
    MarkerModel* m_markerModel;
    QTableView* m_markerTable;
    QListWidget* m_referenceList;
    QPushButton* m_peak;
    QPushButton* m_minimum;
    QPushButton* m_clearMarkers;
    QPushButton* m_holdReference;
    QPushButton* m_loadReference;
    QPushButton* m_removeReference;
    std::vector<std::unique_ptr<Trace>> m_traces;
    int m_referencesMade = 0;
    QString m_instrument;
    bool m_deviationShown = false;
    // The record's points already in the chart.
    std::size_t m_charted = 0;
    bool m_catchUpPending = false;
    QComboBox* m_primaryQuantity;
    QComboBox* m_secondaryQuantity;
    QComboBox* m_fitModel;
    QPushButton* m_fit;
    QTableWidget* m_fitResults;
    QCheckBox* m_modelCurve;
    // One for each derived quantity, in the columns' order: checked when its column shows.
    QList<QAction*> m_columnActions;
    // The first derived column the table's hidden columns were last set for.
    int m_derivedFrom = -1;
    std::array<QCPGraph*, 2> m_modelGraphs{};
    std::unique_ptr<analysis::FitResult> m_fitResult;
};
