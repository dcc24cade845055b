#pragma once

#include <QWidget>

#include <cstddef>

class Dialogs;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class RunRecord;
class SweepChart;
class SweepTableModel;

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

    SweepChart* chart() const { return m_chart; }
    QTableView* table() const { return m_table; }
    QCheckBox* logFrequency() const { return m_logFrequency; }
    QLabel* progress() const { return m_progress; }
    QLabel* timeLeft() const { return m_timeLeft; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* saveDataButton() const { return m_saveData; }
    QPushButton* saveImageButton() const { return m_saveImage; }

public slots:
    void copyTable();
    void saveData();
    void saveImage();

private:
    void buildControls();
    void layOutControls();
    void rebuild();
    void catchUpLater();
    // Brings the chart, the table's scrolling and the progress up to the record.
    void catchUp();
    void showProgress();
    void reportSaveFailure(const QString& path, const QString& reason);

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
    // The record's points already in the chart.
    std::size_t m_charted = 0;
    bool m_catchUpPending = false;
};
