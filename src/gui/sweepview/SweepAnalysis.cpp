// SPDX-License-Identifier: GPL-3.0-or-later
// The Sweep view's analysis: the derived columns of the table, the quantities the axes
// show, and the equivalent circuit fitted to the run with its curve over the data.
#include "sweepview/SweepView.h"

#include "analysis/CircuitFit.h"
#include "analysis/ImpedanceQuantities.h"
#include "analysis/PointReading.h"
#include "export/SweepColumns.h"
#include "numbers/EngineeringNotation.h"
#include "sweepview/RunRecord.h"
#include "values/MeasuredPoint.h"
#include "widgets/WidgetFactory.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

#include <cmath>

namespace {
using analysis::Quantity;

// The quantity a measured parameter is, so that a model's curve can be drawn as it.
struct MeasuredAs {
    const char* name;
    Quantity quantity;
};
constexpr std::array<MeasuredAs, 15> MeasuredQuantities{{
    {"Cs", Quantity::SeriesCapacitance},
    {"Cp", Quantity::ParallelCapacitance},
    {"Ls", Quantity::SeriesInductance},
    {"Lp", Quantity::ParallelInductance},
    {"Xs", Quantity::SeriesReactance},
    {"Bp", Quantity::Susceptance},
    {"Rs", Quantity::SeriesResistance},
    {"ESR", Quantity::SeriesResistance},
    {"Rp", Quantity::ParallelResistance},
    {"Gp", Quantity::Conductance},
    {"DF", Quantity::DissipationFactor},
    {"Q", Quantity::QualityFactor},
    {"Z", Quantity::ImpedanceMagnitude},
    {"Y", Quantity::AdmittanceMagnitude},
    {"P", Quantity::PhaseDegrees},
}};

std::optional<Quantity> quantityOfParameter(const QString& name) {
    for (const MeasuredAs& entry : MeasuredQuantities)
        if (name.trimmed().compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.quantity;
    return std::nullopt;
}

// The combo box's choice: nothing for the measured parameter.
std::optional<Quantity> chosenQuantity(const QComboBox& box) {
    const int index = box.currentIndex() - 1;
    if (index < 0)
        return std::nullopt;
    return analysis::quantityTable().at(static_cast<std::size_t>(index)).quantity;
}

double numberOf(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) && std::abs(value) < 9.9e37 ? value : NAN;
}

QComboBox* quantityBox(const QString& name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->addItem(QStringLiteral("Measured"));
    for (const analysis::QuantityInfo& info : analysis::quantityTable())
        box->addItem(QLatin1String(info.header));
    return box;
}

QString shown(const analysis::NamedValue& value) {
    return EngineeringNotation::format(value.value, value.unit, 6);
}
} // namespace

void SweepView::buildAnalysis() {
    // The derived columns are there for whoever wants them, from the header's menu.
    QHeaderView* header = m_table->horizontalHeader();
    header->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const QString& name : analysis::quantityHeaders()) {
        auto* action = new QAction(name, header);
        action->setCheckable(true);
        const int quantity = static_cast<int>(m_columnActions.size());
        connect(action, &QAction::toggled, this, [this, quantity](bool on) {
            const int column = SweepColumns::firstDerived(columnLayout()) + quantity;
            m_table->setColumnHidden(column, !on);
            if (on)
                m_table->resizeColumnToContents(column);
        });
        header->addAction(action);
        m_columnActions << action;
    }
    applyColumnChoices();

    m_primaryQuantity = quantityBox(QStringLiteral("PrimaryQuantity"));
    m_secondaryQuantity = quantityBox(QStringLiteral("SecondaryQuantity"));
    m_fitModel = new QComboBox;
    m_fitModel->setObjectName(QStringLiteral("FitModel"));
    m_fitModel->addItems(analysis::circuitModelNames());
    m_fit = Widgets::button(this, QStringLiteral("cmdFit"), QStringLiteral("Fit"));
    m_modelCurve = new QCheckBox(QStringLiteral("Model curve"));
    m_modelCurve->setObjectName(QStringLiteral("ModelCurve"));
    m_modelCurve->setChecked(true);
    m_fitResults = new QTableWidget(0, 2);
    m_fitResults->setObjectName(QStringLiteral("FitResults"));
    m_fitResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fitResults->horizontalHeader()->hide();
    m_fitResults->verticalHeader()->hide();
    m_fitResults->horizontalHeader()->setStretchLastSection(true);
    m_fitResults->installEventFilter(this);

    // Below the references, in the side column: the existing controls keep their places.
    auto* axes = new QHBoxLayout;
    axes->addWidget(m_primaryQuantity);
    axes->addWidget(m_secondaryQuantity);
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(m_fitModel, 1);
    fitRow->addWidget(m_fit);
    fitRow->addWidget(m_modelCurve);
    auto* sideLayout = qobject_cast<QVBoxLayout*>(m_referenceList->parentWidget()->layout());
    sideLayout->addLayout(axes);
    sideLayout->addLayout(fitRow);
    sideLayout->addWidget(m_fitResults, 1);
    setTabOrder(m_deviation, m_primaryQuantity);
    setTabOrder(m_primaryQuantity, m_secondaryQuantity);
    setTabOrder(m_secondaryQuantity, m_fitModel);
    setTabOrder(m_fitModel, m_fit);
    setTabOrder(m_fit, m_modelCurve);
    setTabOrder(m_modelCurve, m_fitResults);

    for (QComboBox* box : {m_primaryQuantity, m_secondaryQuantity})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            redrawRun();
            drawModelCurve();
        });
    connect(m_fit, &QPushButton::clicked, this, &SweepView::fitCircuit);
    connect(m_modelCurve, &QCheckBox::toggled, this, &SweepView::drawModelCurve);
    connect(m_logFrequency, &QCheckBox::toggled, this, &SweepView::drawModelCurve);
    connect(&m_record, &RunRecord::begun, this, [this] {
        m_fitResult.reset();
        m_fitResults->setRowCount(0);
        drawModelCurve();
    });
}

SweepColumns::Layout SweepView::columnLayout() const {
    return SweepColumns::Layout::of(m_record.outline());
}

// The derived columns move with the run's own columns (a voltage or bias sweep's, a stepped
// run's); each stays shown or hidden as chosen.
void SweepView::applyColumnChoices() {
    const int first = SweepColumns::firstDerived(columnLayout());
    if (first == m_derivedFrom)
        return;
    m_derivedFrom = first;
    for (int column = 0; column < first; ++column)
        m_table->setColumnHidden(column, false);
    for (int quantity = 0; quantity < m_columnActions.size(); ++quantity)
        m_table->setColumnHidden(first + quantity, !m_columnActions.at(quantity)->isChecked());
}

QList<int> SweepView::shownColumns() const {
    QList<int> columns;
    for (int column = 0; column < SweepColumns::count(columnLayout()); ++column)
        if (!m_table->isColumnHidden(column))
            columns << column;
    return columns;
}

QCPGraph* SweepView::modelGraph(SweepChart::Side side) const {
    return m_modelGraphs.at(side);
}

// Each side as chosen: the measured parameter as the run gave it, or a derived quantity.
void SweepView::plotQuantities(const MeasuredPoint& point) {
    const std::optional<Quantity> primary = chosenQuantity(*m_primaryQuantity);
    const std::optional<Quantity> secondary = chosenQuantity(*m_secondaryQuantity);
    if (!primary && !secondary) {
        m_chart->addPoint(point);
        return;
    }
    const std::optional<analysis::QuantityValues> values =
        analysis::quantitiesOf(analysis::pointReading(point));
    const double frequency = numberOf(point.frequency);
    const std::optional<double> along = m_chart->abscissaOf(point);
    if (!(frequency > 0.0) || !along)
        return;
    for (const SweepChart::Side side : {SweepChart::Primary, SweepChart::Secondary}) {
        const bool first = side == SweepChart::Primary;
        if (const std::optional<Quantity> quantity = first ? primary : secondary) {
            const analysis::QuantityInfo& info = analysis::quantityInfo(*quantity);
            const double value = values ? analysis::valueOf(*values, *quantity) : NAN;
            if (std::isfinite(value))
                m_chart->addValue(side, QLatin1String(info.symbol), QLatin1String(info.unit),
                                  *along, value, point.stepIndex);
            continue;
        }
        const double value =
            numberOf(point.text(first ? ResultField::PrimaryValue : ResultField::SecondaryValue));
        if (!std::isnan(value))
            m_chart->addValue(
                side, point.text(first ? ResultField::PrimaryName : ResultField::SecondaryName),
                point.text(first ? ResultField::PrimaryUnit : ResultField::SecondaryUnit), *along,
                value, point.stepIndex);
    }
}

void SweepView::fitCircuit() {
    std::vector<analysis::PointReading> readings;
    for (const MeasuredPoint& point : m_record.points())
        readings.push_back(analysis::pointReading(point));
    const std::optional<analysis::CircuitModel> model =
        analysis::circuitModelFromName(m_fitModel->currentText());
    showFitResult(analysis::fitCircuit(*model, readings));
}

void SweepView::showFitResult(const analysis::FitOutcome& outcome) {
    m_fitResults->setRowCount(0);
    const auto addRow = [this](const QString& name, const QString& value) {
        const int row = m_fitResults->rowCount();
        m_fitResults->insertRow(row);
        m_fitResults->setItem(row, 0, new QTableWidgetItem(name));
        m_fitResults->setItem(row, 1, new QTableWidgetItem(value));
    };
    if (!outcome.ok()) {
        // A failure is said in words, never shown as a value.
        m_fitResult.reset();
        addRow(outcome.failure, QString());
        m_fitResults->setSpan(0, 0, 1, 2);
        m_fitResults->item(0, 0)->setToolTip(outcome.failure);
    } else {
        m_fitResult = std::make_unique<analysis::FitResult>(*outcome.result);
        for (const analysis::NamedValue& value : m_fitResult->parameters)
            addRow(value.name, shown(value));
        for (const analysis::NamedValue& value : m_fitResult->derived)
            addRow(value.name, shown(value));
        addRow(QStringLiteral("RMS error"),
               QStringLiteral("%1 %").arg(m_fitResult->rmsErrorPercent, 0, 'g', 3));
    }
    m_fitResults->resizeColumnToContents(0);
    drawModelCurve();
}

// The model at 400 points over the fitted range, on each side as that side is shown.
void SweepView::drawModelCurve() {
    for (QCPGraph*& graph : m_modelGraphs) {
        if (graph)
            m_chart->removeGraph(graph);
        graph = nullptr;
    }
    if (m_fitResult && m_modelCurve->isChecked() && !m_record.points().empty()) {
        const std::vector<analysis::CurvePoint> curve =
            analysis::fittedCurve(*m_fitResult, 400, m_logFrequency->isChecked());
        const MeasuredPoint& first = m_record.points().front();
        for (const SweepChart::Side side : {SweepChart::Primary, SweepChart::Secondary}) {
            const bool primary = side == SweepChart::Primary;
            std::optional<Quantity> quantity =
                chosenQuantity(primary ? *m_primaryQuantity : *m_secondaryQuantity);
            const QString unit =
                first.text(primary ? ResultField::PrimaryUnit : ResultField::SecondaryUnit);
            const bool radians = !quantity && unit.trimmed() == QLatin1String("rad");
            if (!quantity)
                quantity = quantityOfParameter(
                    first.text(primary ? ResultField::PrimaryName : ResultField::SecondaryName));
            if (!quantity)
                continue;
            QCPGraph* graph = m_chart->addGraph(m_chart->frequencyAxis(), m_chart->valueAxis(side));
            graph->setName(QStringLiteral("Model"));
            graph->setPen(QPen(QColor(0xe0, 0x60, 0x00), 1.5, Qt::DashDotLine));
            for (const analysis::CurvePoint& at : curve) {
                double value = analysis::valueOf(
                    analysis::quantitiesOf(at.impedance, at.frequencyHz), *quantity);
                if (radians)
                    value *= 3.14159265358979323846 / 180.0;
                if (std::isfinite(value))
                    graph->addData(at.frequencyHz, value);
            }
            m_modelGraphs.at(side) = graph;
        }
    }
    m_chart->replot(QCustomPlot::rpQueuedReplot);
}
