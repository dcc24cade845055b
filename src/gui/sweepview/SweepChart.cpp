#include "sweepview/SweepChart.h"

#include "values/MeasuredPoint.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

#include <cmath>
#include <optional>

namespace {
// The instrument reports an overload as 9.9E+37 (or its negative).
constexpr double OverloadMagnitude = 9.9e37;
// Points per series of a curve: appending costs in proportion to this, not to the run.
constexpr int PiecePoints = 64;
// Runs of up to this many points mark each point; denser ones would blur into a thick line.
constexpr int SparseRunPoints = 101;
// Share of the data's span that an axis keeps free, while a run goes on, on a side where
// the data have left it: a trend then changes the axis only now and then.
constexpr double RoomAhead = 2.0;
// Ticks a linear axis aims at. Nice numbers change the tick count, and starting from the
// last such count would make the scale coarser at every fit.
constexpr int LinearTicks = 6;

std::optional<double> plottableValue(const QString& text) {
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value) || std::abs(value) >= OverloadMagnitude)
        return std::nullopt;
    return value;
}

// Positive frequencies only, so that a switch to the log axis never meets one it cannot show.
std::optional<double> plottableFrequency(const QString& text) {
    const std::optional<double> hertz = plottableValue(text);
    if (!hertz || *hertz <= 0.0)
        return std::nullopt;
    return hertz;
}

// "Cs (F)", or just "DF" when the unit is empty.
QString labelOf(const QString& name, const QString& unit) {
    const QString trimmedUnit = unit.trimmed();
    if (trimmedUnit.isEmpty())
        return name.trimmed();
    return name.trimmed() + QStringLiteral(" (") + trimmedUnit + QLatin1Char(')');
}

// The light theme's own series colours, handed out per curve rather than per series.
QColor curveColour(int curve) {
    static const std::array<QColor, 5> colours{QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53),
                                               QColor(0xf6, 0xa6, 0x25), QColor(0x6d, 0x5f, 0xd5),
                                               QColor(0xbf, 0x59, 0x3e)};
    return colours.at(static_cast<std::size_t>(curve) % colours.size());
}
} // namespace

void SweepChart::Range::include(double value) {
    min = std::min(min, value);
    max = std::max(max, value);
}

// The chart is handed in at construction: setChart() would leave the view's own first
// chart to whoever called it.
SweepChart::SweepChart(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName(QStringLiteral("SweepChart"));
    setRenderHint(QPainter::Antialiasing);
    // Nothing to type into; the keyboard goes on to the table and the buttons.
    setFocusPolicy(Qt::NoFocus);
    m_niceScale = new QValueAxis(this);
    QChart* chart = this->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    for (Side side : {Primary, Secondary}) {
        auto* axis = new QValueAxis;
        axis->setLabelFormat(QStringLiteral("%.4g"));
        chart->addAxis(axis, side == Primary ? Qt::AlignLeft : Qt::AlignRight);
        m_sides[side].axis.axis = axis;
    }
    // One set of horizontal grid lines, the primary's: the secondary's would fall between
    // them, and every grid line is drawn again with each point.
    m_sides[Secondary].axis.axis->setGridLineVisible(false);
    // Both frequency axes stay in the chart and the series move between them: an axis
    // removed from a shown chart leaves its labels behind until control returns to the
    // event loop, which during a run is only at its end.
    m_linearAxis = new QValueAxis;
    m_linearAxis->setLabelFormat(QStringLiteral("%g"));
    m_linearAxis->setRange(0.0, 1.0e5);
    m_linearAxis->setTickCount(LinearTicks);
    m_logAxis = new QLogValueAxis;
    m_logAxis->setBase(10.0);
    m_logAxis->setLabelFormat(QStringLiteral("%g"));
    m_logAxis->setMinorTickCount(8);
    m_logAxis->setRange(1.0e2, 1.0e6);
    const std::array<QAbstractAxis*, 2> frequencyAxes{m_linearAxis, m_logAxis};
    for (QAbstractAxis* axis : frequencyAxes) {
        axis->setTitleText(QStringLiteral("Frequency (Hz)"));
        chart->addAxis(axis, Qt::AlignBottom);
    }
    showFrequencyAxis();
}

void SweepChart::clear(const RunOutline& outline) {
    chart()->removeAllSeries();
    m_curvesMade = 0;
    m_markPoints = outline.pointCount <= SparseRunPoints;
    m_frequency.data = m_frequency.shown = Range();
    for (SideCurves& side : m_sides) {
        side.curves.clear();
        side.axis.data = side.axis.shown = Range();
        side.axis.axis->setTitleText(QString());
    }
    // A sweep's frequency axis spans the planned sweep from the start and then stays put.
    for (const double hertz : {outline.startHertz, outline.stopHertz})
        if (hertz > 0.0)
            m_frequency.data.include(hertz);
    showData(m_frequency, true);
}

void SweepChart::addPoint(const MeasuredPoint& point) {
    const std::optional<double> frequency = plottableFrequency(point.frequency);
    if (!frequency)
        return;
    plot(Primary, *frequency, point);
    plot(Secondary, *frequency, point);
}

void SweepChart::plot(Side side, double frequency, const MeasuredPoint& point) {
    const bool primary = side == Primary;
    const std::optional<double> value = plottableValue(
        point.text(primary ? ResultField::PrimaryValue : ResultField::SecondaryValue));
    if (!value)
        return;
    // The axes first, so that the new point is placed once, on its final scale.
    m_frequency.data.include(frequency);
    m_sides[side].axis.data.include(*value);
    showData(m_frequency, false);
    showData(m_sides[side].axis, false);

    Curve& curve = curveFor(
        side, labelOf(point.text(primary ? ResultField::PrimaryName : ResultField::SecondaryName),
                      point.text(primary ? ResultField::PrimaryUnit : ResultField::SecondaryUnit)));
    QLineSeries* piece = curve.pieces.back();
    if (piece->count() >= PiecePoints) {
        // The next piece starts where this one ends, so that the line runs on unbroken.
        const QPointF joint = piece->at(piece->count() - 1);
        piece = addPiece(side, curve);
        piece->append(joint);
    }
    piece->append(frequency, *value);
}

SweepChart::Curve& SweepChart::curveFor(Side side, const QString& label) {
    std::vector<Curve>& curves = m_sides[side].curves;
    for (Curve& curve : curves)
        if (curve.label == label)
            return curve;

    curves.push_back({label, curveColour(m_curvesMade++), {}});
    addPiece(side, curves.back());
    QStringList labels;
    for (const Curve& curve : curves)
        labels << curve.label;
    m_sides[side].axis.axis->setTitleText(labels.join(QStringLiteral(", ")));
    return curves.back();
}

QLineSeries* SweepChart::addPiece(Side side, Curve& curve) {
    auto* series = new QLineSeries;
    series->setName(curve.label);
    series->setColor(curve.colour);
    series->setPointsVisible(m_markPoints);
    series->setMarkerSize(5.0);
    chart()->addSeries(series);
    series->attachAxis(m_frequency.axis);
    series->attachAxis(m_sides[side].axis.axis);
    // One legend entry per curve, not per piece.
    if (!curve.pieces.empty())
        for (QLegendMarker* marker : chart()->legend()->markers(series))
            marker->setVisible(false);
    curve.pieces.push_back(series);
    return series;
}

void SweepChart::fitToData() {
    showData(m_frequency, true);
    for (SideCurves& side : m_sides)
        showData(side.axis, true);
}

void SweepChart::setLogFrequency(bool logarithmic) {
    if (logarithmic == m_logarithmic)
        return;
    m_logarithmic = logarithmic;
    showFrequencyAxis();
}

void SweepChart::showFrequencyAxis() {
    QAbstractAxis* const linear = m_linearAxis;
    QAbstractAxis* const log = m_logAxis;
    QAbstractAxis* chosen = m_logarithmic ? log : linear;
    QAbstractAxis* other = m_logarithmic ? linear : log;
    for (QAbstractSeries* series : chart()->series()) {
        series->detachAxis(other);
        series->attachAxis(chosen);
    }
    other->setVisible(false);
    chosen->setVisible(true);
    m_frequency.axis = chosen;
    m_frequency.shown = Range();
    showData(m_frequency, true);
}

void SweepChart::showData(Axis& axis, bool closely) {
    const Range& data = axis.data;
    if (data.empty() || (!closely && data.min >= axis.shown.min && data.max <= axis.shown.max))
        return;
    if (auto* log = qobject_cast<QLogValueAxis*>(axis.axis)) {
        // Whole decades, at least one on each side of a single frequency.
        double low = std::floor(std::log10(data.min));
        double high = std::ceil(std::log10(data.max));
        if (high == low) {
            low -= 1.0;
            high += 1.0;
        }
        const double min = std::pow(10.0, low);
        const double max = std::pow(10.0, high);
        if (min != axis.shown.min || max != axis.shown.max)
            log->setRange(min, max);
        axis.shown = {log->min(), log->max()};
        return;
    }
    auto* linear = static_cast<QValueAxis*>(axis.axis);
    const bool frequency = &axis == &m_frequency;
    // Values get a little air above and below; a sweep's frequencies fill the width. While
    // a run goes on, the side the data have left gets room ahead.
    const double span = data.max - data.min;
    const double air = span * (frequency ? 0.0 : 0.05);
    double below = !closely && data.min < axis.shown.min ? span * RoomAhead : air;
    double above = !closely && data.max > axis.shown.max ? span * RoomAhead : air;
    if (span == 0.0)
        below = above = data.max == 0.0 ? 1.0 : std::abs(data.max) * 0.1;
    double low = data.min - below;
    // No negative frequencies on the scale of a sweep that has none.
    if (frequency)
        low = std::max(low, 0.0);
    // Nice numbers are worked out off the chart: on a shown axis applyNiceNumbers sets the
    // range twice, and each setting lays the chart out anew.
    m_niceScale->setTickCount(LinearTicks);
    m_niceScale->setRange(low, data.max + above);
    m_niceScale->applyNiceNumbers();
    const double min = m_niceScale->min();
    const double max = m_niceScale->max();
    if (min != axis.shown.min || max != axis.shown.max) {
        linear->setTickCount(m_niceScale->tickCount());
        linear->setRange(min, max);
    }
    axis.shown = {min, max};
}
