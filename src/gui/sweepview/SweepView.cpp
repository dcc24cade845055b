// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/SweepView.h"

#include "analysis/CircuitFit.h"
#include "analysis/SpiceSubcircuit.h"
#include "export/SweepColumns.h"
#include "export/ValueNumber.h"
#include "numbers/EngineeringNotation.h"
#include "platform/Dialogs.h"
#include "run/TimeLeftEstimate.h"
#include "sweepview/MarkerModel.h"
#include "sweepview/PlainTextDelegate.h"
#include "sweepview/RunRecord.h"
#include "sweepview/SweepExport.h"
#include "sweepview/SweepTableModel.h"
#include "traces/Deviation.h"
#include "traces/ReferenceReader.h"
#include "traces/Trace.h"
#include "traces/TraceSearch.h"
#include "widgets/PanelLook.h"
#include "widgets/WidgetFactory.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {
const QString WindowTitle = QStringLiteral("Sweep");
const QString PreviousRun = QStringLiteral("Previous run");

void keepSizeFor(QLabel& label, const QString& widest) {
    label.setFixedSize(label.fontMetrics().horizontalAdvance(widest), label.sizeHint().height());
}

double numberOr(const QString& text, double otherwise) {
    return valueNumber(text).value_or(otherwise);
}

QColor referenceColour(int made) {
    static const std::array<QColor, SweepView::MostReferences> colours{
        QColor(0x80, 0x80, 0x80), QColor(0xd0, 0x30, 0x30), QColor(0x30, 0x90, 0x30),
        QColor(0x90, 0x40, 0xb0), QColor(0x20, 0x60, 0xc0), QColor(0xc0, 0x80, 0x00),
        QColor(0x00, 0xa0, 0xa0), QColor(0x60, 0x40, 0x20)};
    return colours.at(static_cast<std::size_t>(made) % colours.size());
}

bool isPhase(const QString& name, const QString& unit) {
    return name.trimmed() == QLatin1String("P") || unit.trimmed() == QLatin1String("deg");
}
} // namespace

SweepView::SweepView(const RunRecord& record, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(record), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("SweepView"));
    setWindowTitle(WindowTitle);
    buildControls();
    layOutControls();
    buildAnalysis();
    PanelLook::dressWindow(*this);
    // Rows as tall as their text needs, so that the table shows more of the run.
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    // Flat scroll bars in the panel's greys: the styles' own, drawn with gradients, cost a
    // fifth of each point while the table grows by a row at every point.
    m_table->setStyleSheet(
        QStringLiteral("QScrollBar { background-color: %1; border: none; }"
                       "QScrollBar:vertical { width: 1.2em; }"
                       "QScrollBar:horizontal { height: 1.2em; }"
                       "QScrollBar::handle { background-color: %2; border: 1px solid %3;"
                       " border-radius: 2px; }"
                       "QScrollBar::handle:vertical { min-height: 2em; }"
                       "QScrollBar::handle:horizontal { min-width: 2em; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                       "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(PanelLook::rgb(PanelLook::ButtonGrey), PanelLook::rgb(PanelLook::WindowGrey),
                 PanelLook::rgb(QColor(112, 112, 112))));
    // Progress texts of a fixed size: the row does not jump as they change, and a change
    // (at every point) does not lay the whole window out again.
    keepSizeFor(*m_progress, QStringLiteral("Stopped at point 00000 of 00000"));
    keepSizeFor(*m_timeLeft, QStringLiteral("About 0000 min 00 s left"));

    connect(m_logFrequency, &QCheckBox::toggled, m_chart, &SweepChart::setLogFrequency);
    connect(m_logValues, &QCheckBox::toggled, m_chart, &SweepChart::setLogValues);
    connect(m_deviation, &QCheckBox::toggled, this, &SweepView::redrawRun);
    connect(m_copy, &QPushButton::clicked, this, &SweepView::copyTable);
    connect(m_saveData, &QPushButton::clicked, this, &SweepView::saveData);
    connect(m_saveImage, &QPushButton::clicked, this, &SweepView::saveImage);
    connect(m_peak, &QPushButton::clicked, this, &SweepView::placePeak);
    connect(m_minimum, &QPushButton::clicked, this, &SweepView::placeMinimum);
    connect(m_clearMarkers, &QPushButton::clicked, this, &SweepView::clearMarkers);
    connect(m_holdReference, &QPushButton::clicked, this, &SweepView::holdReference);
    connect(m_loadReference, &QPushButton::clicked, this, &SweepView::loadReference);
    connect(m_removeReference, &QPushButton::clicked, this, [this] {
        const int row = m_referenceList->currentRow();
        if (row < 0)
            return;
        delete m_referenceList->takeItem(row);
        m_traces.erase(m_traces.begin() + row);
        redrawRun();
    });
    connect(m_referenceList, &QListWidget::itemChanged, this, &SweepView::redrawRun);
    connect(m_chart, &SweepChart::clicked, this, &SweepView::onChartClicked);
    connect(m_markerTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { showMarkers(m_markerModel->markers()); });
    connect(&record, &RunRecord::aboutToBegin, this, &SweepView::keepPreviousRun);
    connect(&record, &RunRecord::begun, this, &SweepView::rebuild);
    // Nothing is drawn inside the run's own steps: the view catches up with the record when
    // the run next lets events run (at the top of each point and in its polls), and fits
    // the chart once the run has returned.
    connect(&record, &RunRecord::pointAdded, this, &SweepView::catchUpLater);
    // The exports are there as soon as there is a point to export.
    connect(&record, &RunRecord::pointAdded, this, [this] {
        if (!m_copy->isEnabled())
            showState();
    });
    connect(&record, &RunRecord::ended, this, &SweepView::catchUpLater);

    rebuild();
    m_table->resizeColumnsToContents();
    resize(1100, 680);
}

SweepView::~SweepView() = default;

void SweepView::buildControls() {
    m_model = new SweepTableModel(m_record, this);
    m_chart = new SweepChart;

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("SweepTable"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(new PlainTextDelegate(m_table));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideNone);
    // The point number is a column of its own.
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_markerModel = new MarkerModel(m_record, this);
    m_markerTable = new QTableView;
    m_markerTable->setObjectName(QStringLiteral("MarkerTable"));
    m_markerTable->setModel(m_markerModel);
    m_markerTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_markerTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_markerTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_markerTable->verticalHeader()->hide();
    m_markerTable->installEventFilter(this);

    m_referenceList = new QListWidget;
    m_referenceList->setObjectName(QStringLiteral("ReferenceList"));
    m_referenceList->installEventFilter(this);

    m_logFrequency = new QCheckBox(QStringLiteral("Log frequency"));
    m_logFrequency->setObjectName(QStringLiteral("LogFrequency"));
    m_logValues = new QCheckBox(QStringLiteral("Log values"));
    m_logValues->setObjectName(QStringLiteral("LogValues"));
    m_deviation = new QCheckBox(QStringLiteral("Deviation"));
    m_deviation->setObjectName(QStringLiteral("Deviation"));
    m_progress = new QLabel;
    m_progress->setObjectName(QStringLiteral("SweepProgress"));
    m_timeLeft = new QLabel;
    m_timeLeft->setObjectName(QStringLiteral("SweepTimeLeft"));

    m_copy = Widgets::button(this, QStringLiteral("SweepCopy"), QStringLiteral("Copy"));
    m_saveData =
        Widgets::button(this, QStringLiteral("SweepSaveData"), QStringLiteral("Save data..."));
    m_saveImage =
        Widgets::button(this, QStringLiteral("SweepSaveImage"), QStringLiteral("Save image..."));
    m_peak = Widgets::button(this, QStringLiteral("cmdPeak"), QStringLiteral("Peak"));
    m_minimum = Widgets::button(this, QStringLiteral("cmdMinimum"), QStringLiteral("Minimum"));
    m_clearMarkers =
        Widgets::button(this, QStringLiteral("cmdClearMarkers"), QStringLiteral("Clear markers"));
    m_holdReference =
        Widgets::button(this, QStringLiteral("cmdHoldReference"), QStringLiteral("Hold reference"));
    m_loadReference = Widgets::button(this, QStringLiteral("cmdLoadReference"),
                                      QStringLiteral("Load reference..."));
    m_removeReference =
        Widgets::button(this, QStringLiteral("cmdRemoveReference"), QStringLiteral("Remove"));
}

void SweepView::layOutControls() {
    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* markerButtons = new QHBoxLayout;
    markerButtons->addWidget(m_peak);
    markerButtons->addWidget(m_minimum);
    markerButtons->addWidget(m_clearMarkers);
    auto* referenceButtons = new QHBoxLayout;
    referenceButtons->addWidget(m_holdReference);
    referenceButtons->addWidget(m_loadReference);
    referenceButtons->addWidget(m_removeReference);
    sideLayout->addWidget(m_markerTable, 1);
    sideLayout->addLayout(markerButtons);
    sideLayout->addWidget(m_referenceList, 1);
    sideLayout->addLayout(referenceButtons);
    sideLayout->addWidget(m_deviation);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(m_chart);
    top->addWidget(side);
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 1);
    // The chart takes most of the width from the start; the side's own wish (the marker
    // table's columns, the fit's row) would take half.
    top->setSizes({750, 350});
    top->setChildrenCollapsible(false);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(top);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({420, 200});

    auto* row = new QHBoxLayout;
    row->addWidget(m_logFrequency);
    row->addWidget(m_logValues);
    row->addSpacing(16);
    row->addWidget(m_progress);
    row->addSpacing(16);
    row->addWidget(m_timeLeft);
    row->addStretch(1);
    row->addWidget(m_copy);
    row->addWidget(m_saveData);
    row->addWidget(m_saveImage);

    auto* main = new QVBoxLayout(this);
    main->addWidget(splitter, 1);
    main->addLayout(row);

    setTabOrder(m_table, m_logFrequency);
    setTabOrder(m_logFrequency, m_logValues);
    setTabOrder(m_logValues, m_copy);
    setTabOrder(m_copy, m_saveData);
    setTabOrder(m_saveData, m_saveImage);
    setTabOrder(m_saveImage, m_markerTable);
    setTabOrder(m_markerTable, m_peak);
    setTabOrder(m_peak, m_minimum);
    setTabOrder(m_minimum, m_clearMarkers);
    setTabOrder(m_clearMarkers, m_referenceList);
    setTabOrder(m_referenceList, m_holdReference);
    setTabOrder(m_holdReference, m_loadReference);
    setTabOrder(m_loadReference, m_removeReference);
    setTabOrder(m_removeReference, m_deviation);
}

void SweepView::rebuild() {
    // The axis first, so that the points are placed only once. Volts are always drawn on
    // a linear axis.
    const RunOutline& outline = m_record.outline();
    const bool overFrequency = outline.swept == RunSetting::Frequency;
    m_logFrequency->setChecked(overFrequency && outline.logarithmic);
    m_logFrequency->setEnabled(overFrequency);
    applyColumnChoices();
    redrawRun();
}

// The run drawn afresh: as measured, or as its deviation from the first shown reference.
void SweepView::redrawRun() {
    m_deviation->setEnabled(deviationReference() != nullptr);
    m_deviationShown = m_deviation->isChecked() && deviationReference();
    m_chart->clear(m_record.outline());
    showReferences();
    m_charted = 0;
    // Markers keep their frequencies and find their points again as the points come.
    std::vector<SweepMarker> markers = m_markerModel->markers();
    for (SweepMarker& marker : markers)
        marker.point.reset();
    m_markerModel->setMarkers(std::move(markers));
    catchUp();
}

void SweepView::showReferences() {
    std::vector<SweepChart::Reference> shown;
    if (!m_deviationShown)
        for (int row = 0; row < m_referenceList->count(); ++row)
            if (m_referenceList->item(row)->checkState() == Qt::Checked &&
                fitsRun(*m_traces[static_cast<std::size_t>(row)]))
                shown.push_back(
                    {m_traces[static_cast<std::size_t>(row)].get(),
                     m_referenceList->item(row)->data(Qt::DecorationRole).value<QColor>()});
    m_chart->setReferences(shown);
}

const Trace* SweepView::deviationReference() const {
    for (int row = 0; row < m_referenceList->count(); ++row)
        if (m_referenceList->item(row)->checkState() == Qt::Checked &&
            fitsRun(*m_traces[static_cast<std::size_t>(row)]))
            return m_traces[static_cast<std::size_t>(row)].get();
    return nullptr;
}

// A trace swept over what the run is swept over: a curve over volts means nothing on a
// frequency axis.
bool SweepView::fitsRun(const Trace& trace) const {
    return trace.swept == m_record.outline().swept;
}

void SweepView::catchUpLater() {
    if (m_catchUpPending)
        return;
    m_catchUpPending = true;
    QMetaObject::invokeMethod(this, &SweepView::catchUp, Qt::QueuedConnection);
}

void SweepView::catchUp() {
    m_catchUpPending = false;
    const std::vector<MeasuredPoint>& points = m_record.points();
    if (m_charted < points.size()) {
        // The table follows a run while it shows the last row, and stays where the operator
        // scrolled to otherwise.
        const QScrollBar* bar = m_table->verticalScrollBar();
        const bool following = bar->value() == bar->maximum();
        // The columns take the width of the run's texts once, from its first row.
        const bool firstRows = m_charted == 0;
        for (; m_charted < points.size(); ++m_charted)
            plotPoint(points[m_charted]);
        if (firstRows) {
            m_table->resizeColumnsToContents();
            // The last shown column fills the rest, whichever columns this run has.
            m_table->horizontalHeader()->setStretchLastSection(false);
            m_table->horizontalHeader()->setStretchLastSection(true);
        }
        if (following)
            m_table->scrollToBottom();
        if (!m_markerModel->markers().empty())
            snapMarkers();
        // A curve over more than two decades is read on a log scale, unless the operator
        // chose otherwise.
        if (!m_logValues->isChecked() && m_chart->valuesSpanDecades())
            m_logValues->setChecked(true);
    }
    if (!m_record.running())
        m_chart->fitToData();
    showProgress();
    showState();
}

void SweepView::plotPoint(const MeasuredPoint& point) {
    if (!m_deviationShown) {
        plotQuantities(point);
        return;
    }
    const Trace& reference = *deviationReference();
    const std::optional<double> along = m_chart->abscissaOf(point);
    if (!along)
        return;
    const double frequency = *along;
    for (const SweepChart::Side side : {SweepChart::Primary, SweepChart::Secondary}) {
        const bool primary = side == SweepChart::Primary;
        const QString name =
            point.text(primary ? ResultField::PrimaryName : ResultField::SecondaryName);
        const QString unit =
            point.text(primary ? ResultField::PrimaryUnit : ResultField::SecondaryUnit);
        const double value = numberOr(
            point.text(primary ? ResultField::PrimaryValue : ResultField::SecondaryValue), NAN);
        if (std::isnan(value))
            continue;
        // Against the reference's curve of the same name and unit, on either of its sides.
        const std::vector<double>* values = nullptr;
        if (reference.primaryName == name && reference.primaryUnit == unit)
            values = &reference.primary;
        else if (reference.secondaryName == name && reference.secondaryUnit == unit)
            values = &reference.secondary;
        if (!values)
            continue;
        const std::optional<double> at = Deviation::interpolate(
            reference.frequencies, *values, frequency, reference.swept == RunSetting::Frequency);
        const bool phase = isPhase(name, unit);
        const std::optional<double> deviation =
            at ? Deviation::of(value, *at, phase) : std::nullopt;
        if (deviation)
            m_chart->addValue(side, name + QStringLiteral(" deviation"),
                              phase ? QStringLiteral("deg") : QStringLiteral("%"), frequency,
                              *deviation, point.stepIndex);
    }
}

void SweepView::showProgress() {
    const std::vector<MeasuredPoint>& points = m_record.points();
    if (points.empty()) {
        m_progress->clear();
        m_timeLeft->clear();
        return;
    }
    const RunOutline& outline = m_record.outline();
    // Every point of the run is recorded; a stepped run numbers them within each step.
    const int reached = static_cast<int>(points.size());
    if (!m_record.running() && reached < outline.pointCount &&
        (m_record.stopped() || m_record.failed())) {
        m_progress->setText(
            QStringLiteral("%1 at point %2 of %3")
                .arg(m_record.stopped() ? QStringLiteral("Stopped") : QStringLiteral("Failed"))
                .arg(reached)
                .arg(outline.pointCount));
        m_timeLeft->clear();
        return;
    }
    m_progress->setText(QStringLiteral("Point %1 of %2").arg(reached).arg(outline.pointCount));
    if (!m_record.running()) {
        // A stopped or failed run says nothing about the time it would have taken.
        m_timeLeft->setText(reached >= outline.pointCount ? QStringLiteral("Complete") : QString());
        return;
    }
    const std::optional<double> left =
        TimeLeftEstimate::secondsLeft(outline, m_record.beganAt(), m_record.pointTimes());
    m_timeLeft->setText(left ? TimeLeftEstimate::describe(*left) : QString());
}

// What can be done now, and where nothing can be drawn, why.
void SweepView::showState() {
    const bool anyPoint = !m_record.points().empty();
    for (QPushButton* button : {m_copy, m_saveData, m_saveImage, m_holdReference})
        button->setEnabled(anyPoint);
    m_peak->setEnabled(anyPoint);
    m_minimum->setEnabled(anyPoint);
    m_deviation->setEnabled(deviationReference() != nullptr);
    if (!anyPoint)
        m_chart->setEmptyText(m_record.running() ? QStringLiteral("Waiting for the first point")
                                                 : QStringLiteral("No sweep measured yet"));
    else
        m_chart->setEmptyText(QStringLiteral("No point of this run has a value to draw"));
}

SweepView::Curve SweepView::curveOf(SweepChart::Side side, const QString& name, const QString& unit,
                                    int step) const {
    Curve curve;
    const bool primary = side == SweepChart::Primary;
    for (const MeasuredPoint& point : m_record.points()) {
        const bool same =
            point.text(primary ? ResultField::PrimaryName : ResultField::SecondaryName) == name &&
            point.text(primary ? ResultField::PrimaryUnit : ResultField::SecondaryUnit) == unit &&
            point.stepIndex == step;
        curve.frequencies.push_back(m_chart->abscissaOf(point).value_or(NAN));
        const double value = numberOr(
            point.text(primary ? ResultField::PrimaryValue : ResultField::SecondaryValue), NAN);
        curve.values.push_back(same && !std::isnan(curve.frequencies.back()) ? value : NAN);
    }
    return curve;
}

void SweepView::snapMarkers() {
    std::vector<SweepMarker> markers = m_markerModel->markers();
    for (SweepMarker& marker : markers) {
        const Curve curve = curveOf(marker.side, marker.name, marker.unit, marker.step);
        marker.point = TraceSearch::nearest(curve.frequencies, curve.values, marker.frequency);
    }
    showMarkers(std::move(markers));
}

void SweepView::showMarkers(std::vector<SweepMarker> markers) {
    const int selected = selectedMarker();
    std::vector<SweepChart::Marker> drawn;
    // Markers sit on the run's curves as measured, not on a deviation.
    if (!m_deviationShown)
        for (std::size_t i = 0; i < markers.size(); ++i) {
            const SweepMarker& marker = markers[i];
            if (!marker.point)
                continue;
            const Curve curve = curveOf(marker.side, marker.name, marker.unit, marker.step);
            drawn.push_back({marker.number, curve.frequencies[*marker.point],
                             curve.values[*marker.point], marker.side,
                             static_cast<int>(i) == selected});
        }
    if (&markers != &m_markerModel->markers())
        m_markerModel->setMarkers(std::move(markers));
    m_chart->setMarkers(drawn);
}

int SweepView::selectedMarker() const {
    const QModelIndexList rows = m_markerTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void SweepView::placeMarker(SweepChart::Side side, const QString& name, const QString& unit,
                            double frequency, int step) {
    std::vector<SweepMarker> markers = m_markerModel->markers();
    const Curve curve = curveOf(side, name, unit, step);
    const std::optional<std::size_t> point =
        TraceSearch::nearest(curve.frequencies, curve.values, frequency);
    if (!point)
        return;
    SweepMarker placed{0, side, name, unit, curve.frequencies[*point], point, step};
    int row = selectedMarker();
    if (static_cast<int>(markers.size()) < MarkerModel::MostMarkers) {
        // The lowest free number.
        int number = 1;
        for (bool taken = true; taken; ++number) {
            taken = false;
            for (const SweepMarker& marker : markers)
                taken = taken || marker.number == number;
            if (!taken)
                break;
        }
        placed.number = number;
        markers.push_back(placed);
        row = static_cast<int>(markers.size()) - 1;
    } else if (row >= 0) {
        placed.number = markers[static_cast<std::size_t>(row)].number;
        markers[static_cast<std::size_t>(row)] = placed;
    } else {
        return;
    }
    showMarkers(std::move(markers));
    m_markerTable->selectRow(row);
}

void SweepView::onChartClicked(const QPointF& position) {
    SweepChart::Side side = SweepChart::Primary;
    QCPGraph* graph = m_deviationShown ? nullptr : m_chart->runGraphAt(position, &side);
    if (!graph)
        return;
    // The curve's name and unit, from the first point of its step that drew it.
    const int step = SweepChart::stepOf(graph);
    QList<QCPGraph*> stepGraphs;
    for (QCPGraph* each : m_chart->runGraphs(side))
        if (SweepChart::stepOf(each) == step)
            stepGraphs << each;
    const int curve = static_cast<int>(stepGraphs.indexOf(graph));
    const bool primary = side == SweepChart::Primary;
    int found = 0;
    QStringList seen;
    for (const MeasuredPoint& point : m_record.points()) {
        if (point.stepIndex != step)
            continue;
        const QString name =
            point.text(primary ? ResultField::PrimaryName : ResultField::SecondaryName);
        const QString unit =
            point.text(primary ? ResultField::PrimaryUnit : ResultField::SecondaryUnit);
        const QString key = name + QLatin1Char('\n') + unit;
        if (seen.contains(key) ||
            std::isnan(numberOr(
                point.text(primary ? ResultField::PrimaryValue : ResultField::SecondaryValue),
                NAN)))
            continue;
        seen << key;
        if (found++ == curve) {
            placeMarker(side, name, unit, m_chart->frequencyAxis()->pixelToCoord(position.x()),
                        step);
            return;
        }
    }
}

void SweepView::placePeak() {
    placeExtreme(true);
}

void SweepView::placeMinimum() {
    placeExtreme(false);
}

// On the selected marker's curve, or the primary curve (of the run's first point).
void SweepView::placeExtreme(bool largest) {
    const int selected = selectedMarker();
    SweepChart::Side side = SweepChart::Primary;
    QString name;
    QString unit;
    int step = -1;
    if (selected >= 0) {
        const SweepMarker& marker = m_markerModel->markers()[static_cast<std::size_t>(selected)];
        side = marker.side;
        name = marker.name;
        unit = marker.unit;
        step = marker.step;
    } else if (!m_record.points().empty()) {
        name = m_record.points().front().text(ResultField::PrimaryName);
        unit = m_record.points().front().text(ResultField::PrimaryUnit);
        step = m_record.points().front().stepIndex;
    }
    const Curve curve = curveOf(side, name, unit, step);
    if (const std::optional<std::size_t> point = TraceSearch::extreme(curve.values, largest))
        placeMarker(side, name, unit, curve.frequencies[*point], step);
}

void SweepView::clearMarkers() {
    showMarkers({});
}

void SweepView::moveSelectedMarker(int step) {
    const int row = selectedMarker();
    if (row < 0)
        return;
    std::vector<SweepMarker> markers = m_markerModel->markers();
    SweepMarker& marker = markers[static_cast<std::size_t>(row)];
    if (!marker.point)
        return;
    const Curve curve = curveOf(marker.side, marker.name, marker.unit, marker.step);
    marker.point = TraceSearch::neighbour(curve.frequencies, curve.values, *marker.point, step);
    marker.frequency = curve.frequencies[*marker.point];
    showMarkers(std::move(markers));
}

bool SweepView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_markerTable) {
        if (key->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(m_markerModel->tabSeparated());
            return true;
        }
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            moveSelectedMarker(key->key() == Qt::Key_Right ? 1 : -1);
            return true;
        }
    }
    if (watched == m_fitResults && key->matches(QKeySequence::Copy)) {
        if (m_fitResult)
            QGuiApplication::clipboard()->setText(analysis::spiceSubcircuit(*m_fitResult));
        return true;
    }
    if (watched == m_referenceList && key->key() == Qt::Key_Delete) {
        m_removeReference->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The run's points of one step (-1: a run without steps) as a trace of their own: every
// point with a place on the axis.
std::unique_ptr<Trace> SweepView::traceOfRun(int step) const {
    auto trace = std::make_unique<Trace>();
    trace->swept = m_record.outline().swept;
    for (const MeasuredPoint& point : m_record.points()) {
        if (point.stepIndex != step)
            continue;
        if (trace->size() == 0) {
            trace->primaryName = point.text(ResultField::PrimaryName);
            trace->primaryUnit = point.text(ResultField::PrimaryUnit);
            trace->secondaryName = point.text(ResultField::SecondaryName);
            trace->secondaryUnit = point.text(ResultField::SecondaryUnit);
        }
        if (const std::optional<double> along = m_chart->abscissaOf(point))
            trace->add(*along, numberOr(point.text(ResultField::PrimaryValue), NAN),
                       numberOr(point.text(ResultField::SecondaryValue), NAN));
    }
    return trace;
}

// The last sweep stays at hand as "Previous run". A stepped run's steps are kept only by
// "Hold reference": as one trace they would zigzag from step to step.
void SweepView::keepPreviousRun() {
    const RunOutline& outline = m_record.outline();
    if (m_record.points().empty() || !outline.sweep || outline.stepped != RunSetting::None)
        return;
    std::unique_ptr<Trace> trace = traceOfRun(-1);
    trace->name = PreviousRun;
    // The one "Previous run" is always the last sweep.
    for (int row = 0; row < m_referenceList->count(); ++row)
        if (m_traces[static_cast<std::size_t>(row)]->name == PreviousRun) {
            delete m_referenceList->takeItem(row);
            m_traces.erase(m_traces.begin() + row);
            break;
        }
    if (m_referenceList->count() < MostReferences)
        addReference(std::move(trace), false);
}

void SweepView::addReference(std::unique_ptr<Trace> trace, bool shown) {
    const QSignalBlocker quiet(m_referenceList);
    auto* item = new QListWidgetItem(trace->name);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    item->setData(Qt::DecorationRole, referenceColour(m_referencesMade++));
    m_referenceList->addItem(item);
    m_traces.push_back(std::move(trace));
}

void SweepView::holdReference() {
    const std::vector<MeasuredPoint>& points = m_record.points();
    if (points.empty())
        return;
    // Named by its time and parameters: "14:03:12 Cs-DF".
    const QDateTime taken =
        points.front().takenAt.isValid() ? points.front().takenAt : QDateTime::currentDateTime();
    const auto nameOf = [&taken](const Trace& trace) {
        return taken.toString(QStringLiteral("HH:mm:ss ")) + trace.primaryName.trimmed() +
               QLatin1Char('-') + trace.secondaryName.trimmed();
    };
    if (m_record.outline().stepped == RunSetting::None) {
        if (m_referenceList->count() >= MostReferences)
            return;
        keepPreviousRun();
        Trace& held = *m_traces.back();
        held.name = nameOf(held);
        const int row = m_referenceList->count() - 1;
        m_referenceList->item(row)->setText(held.name);
        m_referenceList->item(row)->setCheckState(Qt::Checked);
        return;
    }
    // A stepped run: each step measured so far becomes a reference of its own, while
    // places last.
    int steps = 0;
    int notKept = 0;
    for (int step = 0; step < static_cast<int>(m_record.outline().stepValues.size()); ++step) {
        std::unique_ptr<Trace> trace = traceOfRun(step);
        if (trace->size() == 0)
            continue;
        ++steps;
        if (m_referenceList->count() >= MostReferences) {
            ++notKept;
            continue;
        }
        trace->name = nameOf(*trace) + QLatin1Char(' ') + m_chart->stepLabel(step);
        addReference(std::move(trace), true);
    }
    redrawRun();
    if (notKept > 0)
        m_dialogs.messageThen(
            QStringLiteral("%1 of %2 steps could not be kept: the list holds %3 references")
                .arg(notKept)
                .arg(steps)
                .arg(MostReferences),
            MessageButtons::Ok, MessageIcon::None, WindowTitle, this, [](MessageAnswer) {});
}

void SweepView::loadReference() {
    m_dialogs.chooseExistingFileThen(
        QStringLiteral(
            "Csv files (*.csv)|*.csv|JSON lines (*.jsonl)|*.jsonl| All Files (*.*)|*.*|"),
        QStringLiteral("Load reference"), this, [this](const std::optional<QString>& path) {
            if (path)
                loadReferenceFrom(*path);
        });
}

void SweepView::loadReferenceFrom(const QString& path) {
    ReferenceFile file = ReferenceReader::read(path);
    if (file.problem.isEmpty() &&
        m_referenceList->count() + static_cast<int>(file.traces.size()) > MostReferences)
        file.problem = QStringLiteral("%1 traces do not fit the %2 free places")
                           .arg(file.traces.size())
                           .arg(MostReferences - m_referenceList->count());
    if (!file.problem.isEmpty()) {
        const QString where =
            file.line > 0 ? QStringLiteral(", line %1").arg(file.line) : QString();
        m_dialogs.messageThen(
            QStringLiteral("Could not load %1%2: %3").arg(path, where, file.problem),
            MessageButtons::Ok, MessageIcon::None, WindowTitle, this, [](MessageAnswer) {});
        return;
    }
    for (Trace& trace : file.traces)
        addReference(std::make_unique<Trace>(std::move(trace)), true);
    redrawRun();
}

QString SweepView::imageCaption() const {
    QStringList parts{QCoreApplication::applicationName()};
    if (!m_instrument.trimmed().isEmpty())
        parts << m_instrument.trimmed();
    parts << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const int measured = static_cast<int>(m_record.points().size());
    QString count =
        QStringLiteral("%1 of %2 points").arg(measured).arg(m_record.outline().pointCount);
    if (m_record.stopped())
        count += QStringLiteral(", stopped");
    parts << count;
    return parts.join(QStringLiteral(" · "));
}

void SweepView::copyTable() {
    QGuiApplication::clipboard()->setText(
        SweepColumns::tabSeparated(m_record.points(), columnLayout(), shownColumns()));
}

// The dialogs of this window leave the run going: they return at once, and the export is
// written when the operator has chosen, from the record as it is then.
void SweepView::saveData() {
    m_dialogs.chooseSaveFileThen(
        QStringLiteral("Csv files (*.csv)|*.csv| All Files (*.*)|*.*|"),
        QStringLiteral("Save data"), this, [this](const std::optional<QString>& path) {
            if (!path)
                return;
            if (const std::optional<QString> failure = SweepExport::writeText(
                    *path, SweepColumns::commaSeparated(m_record.points(), columnLayout())))
                reportSaveFailure(*path, *failure);
        });
}

void SweepView::saveImage() {
    m_dialogs.chooseSaveFileThen(
        QStringLiteral("PNG image (*.png)|*.png|JPEG image (*.jpg)|*.jpg|BMP image (*.bmp)|*.bmp|"
                       "SVG image (*.svg)|*.svg|"),
        QStringLiteral("Save image"), this, [this](const std::optional<QString>& path) {
            if (!path)
                return;
            // The image carries a caption line that the screen does not need.
            m_chart->setCaption(imageCaption());
            const std::optional<QString> failure = SweepExport::writeImage(*path, *m_chart);
            m_chart->setCaption(QString());
            if (failure)
                reportSaveFailure(*path, *failure);
        });
}

// As the log file's failures: the path, two blanks, the reason.
void SweepView::reportSaveFailure(const QString& path, const QString& reason) {
    m_dialogs.messageThen(path + QStringLiteral("  ") + reason, MessageButtons::Ok,
                          MessageIcon::None, WindowTitle, this, [](MessageAnswer) {});
}
