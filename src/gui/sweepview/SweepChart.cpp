// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/SweepChart.h"

#include "export/ValueNumber.h"
#include "numbers/EngineeringNotation.h"
#include "run/SettingSweep.h"
#include "traces/Trace.h"
#include "values/MeasuredPoint.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
// Runs of up to this many points mark each point; denser ones would blur into a thick line.
constexpr int SparseRunPoints = 101;
// Share of the data's span that a value axis keeps free, while a run goes on, on a side
// where the data have left it: a trend then changes the axis only now and then.
constexpr double RoomAhead = 2.0;
// How near (in pixels) a click must come to a curve to pick it.
constexpr double PickDistance = 12.0;

// Positive frequencies only, so that a switch to the log axis never meets one it cannot show.
std::optional<double> plottableFrequency(const QString& text) {
    const std::optional<double> hertz = valueNumber(text);
    if (!hertz || *hertz <= 0.0)
        return std::nullopt;
    return hertz;
}

// "Cs (F)", or just "DF" when the unit is empty.
QString labelOf(const QString& name, const QString& unit) {
    const QString shownUnit = EngineeringNotation::displayUnit(unit);
    if (shownUnit.isEmpty())
        return name.trimmed();
    return name.trimmed() + QStringLiteral(" (") + shownUnit + QLatin1Char(')');
}

// A stepped run's steps, up to ten, each in a colour of its own on both sides.
QColor stepColour(int step) {
    static const std::array<QColor, 10> colours{QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                                                QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28),
                                                QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                                QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f),
                                                QColor(0xbc, 0xbd, 0x22), QColor(0x17, 0xbe, 0xcf)};
    return colours.at(static_cast<std::size_t>(step) % colours.size());
}

// The horizontal axis's unit: hertz, or volts for a voltage or bias sweep.
QString abscissaUnit(RunSetting swept) {
    return swept == RunSetting::Frequency ? QStringLiteral("Hz") : QStringLiteral("V");
}

QColor curveColour(int curve) {
    static const std::array<QColor, 5> colours{QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53),
                                               QColor(0xf6, 0xa6, 0x25), QColor(0x6d, 0x5f, 0xd5),
                                               QColor(0xbf, 0x59, 0x3e)};
    return colours.at(static_cast<std::size_t>(curve) % colours.size());
}

// Tick labels in engineering notation, three significant digits: "10 kHz", "4.7 nF".
template <typename Base> class EngineeringTicker : public Base {
public:
    explicit EngineeringTicker(QString unit) : m_unit(std::move(unit)) {}

protected:
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return EngineeringNotation::format(tick, m_unit, 3);
    }

private:
    QString m_unit;
};

class LinearTicker final : public EngineeringTicker<QCPAxisTicker> {
public:
    using EngineeringTicker::EngineeringTicker;

protected:
    // A tick at zero comes out of the step arithmetic as a tiny remainder: it is zero.
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override {
        QVector<double> ticks = QCPAxisTicker::createTickVector(tickStep, range);
        for (double& tick : ticks)
            if (std::abs(tick) < tickStep * 1e-9)
                tick = 0.0;
        return ticks;
    }
};

void setScale(QCPAxis* axis, bool logarithmic, const QString& unit) {
    axis->setScaleType(logarithmic ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    if (logarithmic)
        axis->setTicker(
            QSharedPointer<QCPAxisTicker>(new EngineeringTicker<QCPAxisTickerLog>(unit)));
    else
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new LinearTicker(unit)));
}
} // namespace

void SweepChart::Range::include(double value) {
    min = std::min(min, value);
    max = std::max(max, value);
}

SweepChart::SweepChart(QWidget* parent) : QCustomPlot(parent) {
    setObjectName(QStringLiteral("SweepChart"));
    // Nothing to type into; the keyboard goes on to the table and the buttons.
    setFocusPolicy(Qt::NoFocus);
    setAntialiasedElements(QCP::aePlottables | QCP::aeItems);
    xAxis->setLabel(QStringLiteral("Frequency"));
    yAxis2->setVisible(true);
    // One set of horizontal grid lines, the primary's.
    yAxis2->grid()->setVisible(false);
    setScale(xAxis, false, QStringLiteral("Hz"));
    setScale(yAxis, false, QString());
    setScale(yAxis2, false, QString());
    xAxis->setRange(0.0, 1.0e5);

    legend->setVisible(true);
    axisRect()->insetLayout()->take(legend);
    plotLayout()->addElement(1, 0, legend);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(4);
    legend->setBorderPen(Qt::NoPen);
    plotLayout()->setRowStretchFactor(1, 0.001);

    m_emptyText = new QCPItemText(this);
    m_emptyText->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_emptyText->position->setCoords(0.5, 0.5);
    m_emptyText->setClipToAxisRect(false);

    connect(this, &QCustomPlot::mousePress, this,
            [this](QMouseEvent* event) { m_pressedAt = event->pos(); });
    connect(this, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* event) {
        if ((event->pos() - m_pressedAt).manhattanLength() <= 4 &&
            axisRect()->rect().contains(event->pos()))
            emit clicked(event->position());
    });
    m_replotDue.setSingleShot(true);
    connect(&m_replotDue, &QTimer::timeout, this, [this] { replot(QCustomPlot::rpRefreshHint); });
    connect(this, &QCustomPlot::afterReplot, this, [this] { m_sinceReplot.start(); });
    updateEmptyText();
}

void SweepChart::clear(const RunOutline& outline) {
    for (SideCurves& side : m_sides) {
        for (const Curve& curve : side.curves)
            removeGraph(curve.graph);
        side.curves.clear();
        side.axis.data = side.axis.shown = Range();
    }
    m_curvesMade = 0;
    m_markPoints = outline.pointCount <= SparseRunPoints;
    m_frequency.data = m_frequency.shown = Range();
    m_stepped = outline.stepped;
    m_stepValues = outline.stepValues;
    if (outline.swept != m_swept) {
        m_swept = outline.swept;
        xAxis->setLabel(runSettingName(m_swept));
        setScale(xAxis, m_logarithmic && m_swept == RunSetting::Frequency, abscissaUnit(m_swept));
    }
    // A sweep's axis spans the planned sweep from the start and then stays put.
    if (m_swept == RunSetting::Frequency) {
        for (const double hertz : {outline.startHertz, outline.stopHertz})
            if (hertz > 0.0)
                m_frequency.data.include(hertz);
    } else if (outline.sweep) {
        m_frequency.data.include(outline.startValue);
        m_frequency.data.include(outline.stopValue);
    }
    retitle(Primary);
    retitle(Secondary);
    showAxis(xAxis, m_frequency, true, true);
    updateEmptyText();
    replotSoon();
}

std::optional<double> SweepChart::abscissaOf(const MeasuredPoint& point) const {
    if (m_swept == RunSetting::Frequency)
        return plottableFrequency(point.frequency);
    const std::optional<double> volts = valueNumber(point.sweptValue);
    return volts && std::isfinite(*volts) ? volts : std::nullopt;
}

QString SweepChart::stepLabel(int step) const {
    const QString value = m_stepValues.value(step);
    if (m_stepped == RunSetting::Frequency)
        return QStringLiteral("Frequency ") +
               EngineeringNotation::format(value.toDouble(), QStringLiteral("Hz"), 6);
    return runSettingName(m_stepped) + QLatin1Char(' ') + value + QStringLiteral(" V");
}

int SweepChart::stepOf(const QCPGraph* graph) {
    return graph->property("step").toInt();
}

void SweepChart::addPoint(const MeasuredPoint& point) {
    const std::optional<double> frequency = abscissaOf(point);
    if (!frequency)
        return;
    for (const Side side : {Primary, Secondary}) {
        const bool primary = side == Primary;
        const std::optional<double> value = valueNumber(
            point.text(primary ? ResultField::PrimaryValue : ResultField::SecondaryValue));
        if (value)
            addValue(side,
                     point.text(primary ? ResultField::PrimaryName : ResultField::SecondaryName),
                     point.text(primary ? ResultField::PrimaryUnit : ResultField::SecondaryUnit),
                     *frequency, *value, point.stepIndex);
    }
}

void SweepChart::addValue(Side side, const QString& name, const QString& unit, double frequency,
                          double value, int step) {
    const bool first = m_sides[0].curves.empty() && m_sides[1].curves.empty();
    m_frequency.data.include(frequency);
    m_sides[side].axis.data.include(value);
    curveFor(side, name, unit, step).graph->addData(frequency, value);
    // A log axis cannot show zero or below: the first such value puts its side back on a
    // linear scale (a deviation or Xs may start above zero and cross it later).
    if (value <= 0.0 && valueAxis(side)->scaleType() == QCPAxis::stLogarithmic) {
        retitle(side);
        m_sides[side].axis.shown = Range();
    }
    showAxis(xAxis, m_frequency, false, true);
    showAxis(valueAxis(side), m_sides[side].axis, false, false);
    if (first)
        updateEmptyText();
    replotSoon();
}

SweepChart::Curve& SweepChart::curveFor(Side side, const QString& name, const QString& unit,
                                        int step) {
    std::vector<Curve>& curves = m_sides[side].curves;
    for (Curve& curve : curves)
        if (curve.name == name && curve.unit == unit && curve.step == step)
            return curve;
    QCPGraph* graph = addGraph(xAxis, valueAxis(side));
    graph->setProperty("step", step);
    if (step < 0) {
        graph->setName(labelOf(name, unit));
        graph->setPen(QPen(curveColour(m_curvesMade++), 1.5));
    } else {
        // A step's two curves share its colour; the secondary's is dotted.
        graph->setName(labelOf(name, unit) + QStringLiteral(", ") + stepLabel(step));
        graph->setPen(QPen(stepColour(step), 1.5, side == Primary ? Qt::SolidLine : Qt::DotLine));
    }
    if (m_markPoints)
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 5.0));
    curves.push_back({name, unit, step, graph});
    retitle(side);
    return curves.back();
}

// The side's title lists its curves, the references' own parameters included; the ticks
// carry the unit when the side has just one.
void SweepChart::retitle(Side side) {
    QStringList labels;
    QStringList units;
    for (const Curve& curve : m_sides[side].curves) {
        labels << labelOf(curve.name, curve.unit);
        units << EngineeringNotation::displayUnit(curve.unit);
    }
    for (QCPGraph* graph : m_referenceGraphs)
        if (graph->valueAxis() == valueAxis(side)) {
            const QString label = graph->property("label").toString();
            if (!labels.contains(label)) {
                labels << label;
                units << graph->property("unit").toString();
            }
        }
    labels.removeDuplicates();
    units.removeDuplicates();
    valueAxis(side)->setLabel(labels.join(QStringLiteral(", ")));
    const Range& data = m_sides[side].axis.data;
    const bool logarithmic = m_logValues && !data.empty() && data.min > 0.0;
    setScale(valueAxis(side), logarithmic, units.size() == 1 ? units.front() : QString());
}

QList<QCPGraph*> SweepChart::runGraphs(Side side) const {
    QList<QCPGraph*> graphs;
    for (const Curve& curve : m_sides[side].curves)
        graphs << curve.graph;
    return graphs;
}

QCPGraph* SweepChart::runGraphAt(const QPointF& position, Side* side) const {
    QCPGraph* best = nullptr;
    double bestDistance = PickDistance;
    for (const Side s : {Primary, Secondary})
        for (const Curve& curve : m_sides[s].curves) {
            const double distance = curve.graph->selectTest(position, false);
            if (distance >= 0.0 && distance < bestDistance) {
                bestDistance = distance;
                best = curve.graph;
                if (side)
                    *side = s;
            }
        }
    return best;
}

void SweepChart::fitToData() {
    showAxis(xAxis, m_frequency, true, true);
    for (const Side side : {Primary, Secondary})
        showAxis(valueAxis(side), m_sides[side].axis, true, false);
    replotSoon();
}

void SweepChart::setLogFrequency(bool logarithmic) {
    if (logarithmic == m_logarithmic)
        return;
    m_logarithmic = logarithmic;
    // Only frequencies go on a log axis; the volts of a voltage or bias sweep stay linear.
    setScale(xAxis, logarithmic && m_swept == RunSetting::Frequency, abscissaUnit(m_swept));
    m_frequency.shown = Range();
    showAxis(xAxis, m_frequency, true, true);
    replotSoon();
}

void SweepChart::setLogValues(bool logarithmic) {
    if (logarithmic == m_logValues)
        return;
    m_logValues = logarithmic;
    for (const Side side : {Primary, Secondary}) {
        retitle(side);
        m_sides[side].axis.shown = Range();
        showAxis(valueAxis(side), m_sides[side].axis, true, false);
    }
    replotSoon();
}

bool SweepChart::valuesSpanDecades() const {
    for (const SideCurves& side : m_sides)
        if (!side.axis.data.empty() && side.axis.data.min > 0.0)
            for (const Curve& curve : side.curves) {
                bool found = false;
                const QCPRange range = curve.graph->data()->valueRange(found);
                if (range.lower > 0.0 && range.upper / range.lower > 100.0)
                    return true;
            }
    return false;
}

void SweepChart::setReferences(const std::vector<Reference>& references) {
    for (QCPGraph* graph : m_referenceGraphs)
        removeGraph(graph);
    m_referenceGraphs.clear();
    for (SideCurves& side : m_sides)
        side.referenceUnits.clear();
    Range referenceFrequencies;
    std::array<Range, 2> referenceValues;
    for (const Reference& reference : references) {
        const Trace& trace = *reference.trace;
        for (const Side side : {Primary, Secondary}) {
            const std::vector<double>& values = side == Primary ? trace.primary : trace.secondary;
            const QString name = side == Primary ? trace.primaryName : trace.secondaryName;
            const QString unit = side == Primary ? trace.primaryUnit : trace.secondaryUnit;
            QCPGraph* graph = nullptr;
            for (std::size_t i = 0; i < trace.size(); ++i) {
                if (std::isnan(values[i]) || trace.frequencies[i] <= 0.0)
                    continue;
                if (!graph) {
                    graph = addGraph(xAxis, valueAxis(side));
                    graph->setName(trace.name + QStringLiteral(": ") + labelOf(name, unit));
                    graph->setProperty("label", labelOf(name, unit));
                    graph->setProperty("unit", EngineeringNotation::displayUnit(unit));
                    QPen pen(reference.colour, 1.0, Qt::DashLine);
                    graph->setPen(pen);
                    m_referenceGraphs << graph;
                }
                graph->addData(trace.frequencies[i], values[i]);
                referenceFrequencies.include(trace.frequencies[i]);
                referenceValues[side].include(values[i]);
            }
        }
    }
    // The references' values count for the axes as the run's do.
    for (const Side side : {Primary, Secondary}) {
        Axis& axis = m_sides[side].axis;
        if (!referenceValues[side].empty()) {
            axis.data.include(referenceValues[side].min);
            axis.data.include(referenceValues[side].max);
        }
        retitle(side);
        showAxis(valueAxis(side), axis, true, false);
    }
    if (!referenceFrequencies.empty() && m_frequency.data.empty()) {
        m_frequency.data = referenceFrequencies;
        showAxis(xAxis, m_frequency, true, true);
    }
    updateEmptyText();
    replotSoon();
}

void SweepChart::setMarkers(const std::vector<Marker>& markers) {
    for (QCPAbstractItem* item : m_markerItems)
        removeItem(item);
    m_markerItems.clear();
    for (const Marker& marker : markers) {
        auto* tracer = new QCPItemTracer(this);
        tracer->position->setAxes(xAxis, valueAxis(marker.side));
        tracer->position->setCoords(marker.frequency, marker.value);
        tracer->setStyle(QCPItemTracer::tsSquare);
        tracer->setSize(marker.selected ? 11.0 : 8.0);
        tracer->setPen(QPen(Qt::black, marker.selected ? 2.0 : 1.0));
        auto* label = new QCPItemText(this);
        label->position->setParentAnchor(tracer->position);
        label->position->setCoords(0.0, -14.0);
        label->setText(QStringLiteral("M%1").arg(marker.number));
        // A marker at the top of the plot keeps its name whole above the plot's edge.
        label->setClipToAxisRect(false);
        label->setFont(QFont(font().family(), font().pointSize(), QFont::Bold));
        m_markerItems << tracer << label;
    }
    replotSoon();
}

void SweepChart::setEmptyText(const QString& text) {
    m_emptyMessage = text;
    updateEmptyText();
    replotSoon();
}

void SweepChart::setCaption(const QString& caption) {
    if (m_caption) {
        plotLayout()->remove(m_caption);
        plotLayout()->simplify();
        m_caption = nullptr;
    }
    if (!caption.isEmpty()) {
        plotLayout()->insertRow(0);
        m_caption = new QCPTextElement(this, caption);
        plotLayout()->addElement(0, 0, m_caption);
    }
    replot();
}

void SweepChart::updateEmptyText() {
    const bool drawn = graphCount() > 0;
    m_emptyText->setText(m_emptyMessage);
    m_emptyText->setVisible(!drawn && !m_emptyMessage.isEmpty());
}

// Once control is back in the event loop, but no sooner than ReplotIntervalMs after the
// last replot: a run's points then cost a replot each only when they come slowly.
void SweepChart::replotSoon() {
    if (m_replotDue.isActive())
        return;
    const qint64 since = m_sinceReplot.isValid() ? m_sinceReplot.elapsed() : ReplotIntervalMs;
    m_replotDue.start(static_cast<int>(std::max<qint64>(0, ReplotIntervalMs - since)));
}

void SweepChart::showAxis(QCPAxis* axis, Axis& range, bool closely, bool frequency) {
    const Range& data = range.data;
    if (data.empty() || (!closely && data.min >= range.shown.min && data.max <= range.shown.max))
        return;
    double low = 0.0;
    double high = 0.0;
    if (axis->scaleType() == QCPAxis::stLogarithmic && data.min > 0.0) {
        // A log axis fits the data (a sweep's planned range) with no empty decade; values
        // get a little air.
        const double air = frequency ? 1.0 : std::pow(data.max / data.min, 0.05);
        low = data.min / air;
        high = data.max * air;
        if (low == high) {
            low /= 2.0;
            high *= 2.0;
        }
    } else {
        // Values get a little air above and below; a sweep's frequencies fill the width.
        // While a run goes on, the side the data have left gets room ahead.
        const double span = data.max - data.min;
        const double air = span * (frequency ? 0.0 : 0.05);
        double below = !closely && data.min < range.shown.min ? span * RoomAhead : air;
        double above = !closely && data.max > range.shown.max ? span * RoomAhead : air;
        if (span == 0.0)
            below = above = data.max == 0.0 ? 1.0 : std::abs(data.max) * 0.1;
        low = data.min - below;
        high = data.max + above;
        // An axis never pads across zero when all its values are on one side of it.
        if (data.min >= 0.0)
            low = std::max(low, 0.0);
        if (data.max <= 0.0)
            high = std::min(high, 0.0);
        if (low == high)
            high = low + 1.0;
    }
    if (low != range.shown.min || high != range.shown.max)
        axis->setRange(low, high);
    range.shown = {low, high};
}
