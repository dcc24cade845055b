#pragma once

#include <QChartView>
#include <QColor>
#include <QString>

#include <array>
#include <limits>
#include <vector>

struct MeasuredPoint;
struct RunOutline;
class QAbstractAxis;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;

// The chart of a run: the primary value against frequency on the left axis, the secondary
// on the right. Each parameter name and unit the instrument reports gets a curve of its
// own on its side, and that side's axis title lists them. Values that are no number or an
// overload, and frequencies a log axis cannot show, are left out rather than drawn as zero
// or as a spike.
//
// Points are appended as they come, and a point costs the same at the thousandth as at the
// first: Qt Charts recomputes and repaints a whole series on each append, so a curve is
// drawn as a chain of short series, and while a run goes on the axes keep some room ahead
// of the data, so that they change (and every series is recomputed) only now and then.
class SweepChart final : public QChartView {
    Q_OBJECT
public:
    explicit SweepChart(QWidget* parent = nullptr);

    // Empties the chart for a run; a sparse run marks every point.
    void clear(const RunOutline& outline);
    void addPoint(const MeasuredPoint& point);
    // Fits the axes closely to the data, once the run is over.
    void fitToData();
    void setLogFrequency(bool logarithmic);
    bool logFrequency() const { return m_logarithmic; }

private:
    enum Side { Primary, Secondary };

    struct Range {
        double min = std::numeric_limits<double>::infinity();
        double max = -std::numeric_limits<double>::infinity();
        bool empty() const { return min > max; }
        void include(double value);
    };
    struct Axis {
        QAbstractAxis* axis = nullptr;
        Range data;
        // What the axis shows; empty until the first point.
        Range shown;
    };
    struct Curve {
        QString label;
        QColor colour;
        std::vector<QLineSeries*> pieces;
    };
    struct SideCurves {
        Axis axis;
        std::vector<Curve> curves;
    };

    void plot(Side side, double frequency, const MeasuredPoint& point);
    Curve& curveFor(Side side, const QString& label);
    QLineSeries* addPiece(Side side, Curve& curve);
    void showFrequencyAxis();
    // Brings the data into view: with room ahead while a run goes on, closely at its end.
    void showData(Axis& axis, bool closely);

    // Off the chart: works out nice numbers for the linear axes.
    QValueAxis* m_niceScale;
    QValueAxis* m_linearAxis;
    QLogValueAxis* m_logAxis;
    // The frequency axis shown, one of the two.
    Axis m_frequency;
    std::array<SideCurves, 2> m_sides;
    int m_curvesMade = 0;
    bool m_markPoints = true;
    bool m_logarithmic = false;
};
