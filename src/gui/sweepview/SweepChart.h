// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/RunSettings.h"

#include <qcustomplot.h>

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <array>
#include <limits>
#include <optional>
#include <vector>

struct MeasuredPoint;
struct RunOutline;
struct Trace;

// The chart of a run: the primary value against the swept setting (frequency, or the
// voltage or bias in volts) on the left axis, the secondary on the right. Each parameter
// name and unit gets a curve of its own on its side, and of a stepped run each step, and
// that side's axis title lists them. Values that are no number or an overload, and frequencies
// a log axis cannot show, are left out rather than drawn as zero or as a spike. Axes read
// in engineering notation ("10 kHz", "100 nF").
//
// Reference traces are drawn as thinner dashed curves on the side of their own parameter;
// markers as numbered crosses. Appending a point is cheap; the chart is replotted when
// control returns to the event loop, however many points arrived, and at most every
// ReplotIntervalMs while they keep arriving.
class SweepChart final : public QCustomPlot {
    Q_OBJECT
public:
    enum Side { Primary, Secondary };
    // A replot draws every curve and axis again, which costs more than the rest of a point;
    // about thirty a second are as many as the eye follows.
    static constexpr int ReplotIntervalMs = 30;

    // A reference as the chart draws it.
    struct Reference {
        const Trace* trace = nullptr;
        QColor colour;
    };
    // A marker as the chart draws it.
    struct Marker {
        int number = 0;
        double frequency = 0.0;
        double value = 0.0;
        Side side = Primary;
        bool selected = false;
    };

    explicit SweepChart(QWidget* parent = nullptr);

    // Empties the run's curves for a run; a sparse run marks every point.
    void clear(const RunOutline& outline);
    void addPoint(const MeasuredPoint& point);
    // A value of a named curve, for curves that are not the run's texts (a deviation); of
    // a stepped run's step (its index) when step is 0 or more.
    void addValue(Side side, const QString& name, const QString& unit, double frequency,
                  double value, int step = -1);
    // Where a point of the run lies on the horizontal axis: its frequency (above zero, so
    // that a log axis can show it) or its swept volts; none for a text that is no number.
    std::optional<double> abscissaOf(const MeasuredPoint& point) const;
    // "Bias 0.5 V": a stepped run's step as its curves are labelled.
    QString stepLabel(int step) const;
    // The step of one of the run's curves (-1 for a run without steps).
    static int stepOf(const QCPGraph* graph);
    // Fits the axes closely to the data, once the run is over.
    void fitToData();
    void setLogFrequency(bool logarithmic);
    bool logFrequency() const { return m_logarithmic; }
    // Puts each value axis whose values are all above zero on a log scale.
    void setLogValues(bool logarithmic);
    // True when a curve of an all-positive side spans more than two decades.
    bool valuesSpanDecades() const;
    void setReferences(const std::vector<Reference>& references);
    void setMarkers(const std::vector<Marker>& markers);
    // Said in the middle of the plot while nothing is drawn (empty: nothing said).
    void setEmptyText(const QString& text);
    // A line above the plot, for exported images (empty: none).
    void setCaption(const QString& caption);

    QCPAxis* frequencyAxis() const { return xAxis; }
    QCPAxis* valueAxis(Side side) const { return side == Primary ? yAxis : yAxis2; }
    // The run's curves on a side, in the order they appeared.
    QList<QCPGraph*> runGraphs(Side side) const;
    // The run's curve nearest to a point on the widget, within a few pixels, and its side.
    QCPGraph* runGraphAt(const QPointF& position, Side* side) const;

signals:
    // A click on the plot area (not a drag).
    void clicked(const QPointF& position);

private:
    struct Range {
        double min = std::numeric_limits<double>::infinity();
        double max = -std::numeric_limits<double>::infinity();
        bool empty() const { return min > max; }
        void include(double value);
    };
    struct Axis {
        Range data;
        Range shown;
    };
    struct Curve {
        QString name;
        QString unit;
        int step = -1;
        QCPGraph* graph = nullptr;
    };
    struct SideCurves {
        Axis axis;
        std::vector<Curve> curves;
        std::vector<QString> referenceUnits;
    };

    Curve& curveFor(Side side, const QString& name, const QString& unit, int step);
    void retitle(Side side);
    void showAxis(QCPAxis* axis, Axis& range, bool closely, bool frequency);
    void showFrequencyAxis();
    void showValueScales();
    void updateEmptyText();
    void replotSoon();

    Axis m_frequency;
    RunSetting m_swept = RunSetting::Frequency;
    RunSetting m_stepped = RunSetting::None;
    QStringList m_stepValues;
    std::array<SideCurves, 2> m_sides;
    QList<QCPGraph*> m_referenceGraphs;
    QList<QCPAbstractItem*> m_markerItems;
    QCPItemText* m_emptyText;
    QCPTextElement* m_caption = nullptr;
    QString m_emptyMessage;
    int m_curvesMade = 0;
    bool m_markPoints = true;
    bool m_logarithmic = false;
    bool m_logValues = false;
    QPoint m_pressedAt;
    QTimer m_replotDue;
    QElapsedTimer m_sinceReplot;
};
