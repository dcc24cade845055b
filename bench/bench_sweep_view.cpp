// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep view while runs are added to its record, as the Results window's run adds them:
// the cost of each point with the chart and the table repainted, and the memory a long run
// adds to the open view.
#include "bench_sweep_view.h"

#include "AnswerOk.h"
#include "ThreadTime.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"
#include "sweepview/RunRecord.h"
#include "sweepview/SweepChart.h"
#include "sweepview/SweepView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {
// Counts the chart's repaints, to show that each point reached the screen.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

double residentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    static const QRegularExpression vmRss(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = vmRss.match(QString::fromLatin1(status.readAll()));
    return match.captured(1).toDouble() / 1024.0;
}

void letEventsRun() {
    // The scene posts its update, and the view's repaint request follows in the next pass.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// A capacitor's values as the instrument formats them, along a sweep from 1 kHz to 100 kHz.
MeasuredPoint pointAt(int index, int points, bool logarithmic) {
    MeasuredPoint point;
    point.index = index;
    point.sweepPoint = true;
    const double share = static_cast<double>(index) / (points - 1);
    const double hertz = logarithmic ? 1000.0 * std::pow(100.0, share) : 1000.0 + 99000.0 * share;
    point.frequency = QString::number(std::lround(hertz));
    point.set(ResultField::PrimaryName, QStringLiteral("Cs"));
    point.set(ResultField::PrimaryValue,
              QString::asprintf("%+.5E", 1.0e-9 * (1.0 + 0.05 * std::log10(hertz))));
    point.set(ResultField::PrimaryUnit, QStringLiteral("F"));
    point.set(ResultField::SecondaryName, QStringLiteral("DF"));
    point.set(ResultField::SecondaryValue, QString::asprintf("%.5f", 1.0e-4 * std::sqrt(hertz)));
    point.set(ResultField::SecondaryUnit, QString());
    return point;
}

// Adds a run point by point to the record of a shown view, each point followed by the
// events it causes (the repaints included), and prints what each point cost.
void addRun(int points, bool logarithmic) {
    SystemTiming timing;
    AnswerOk dialogs;
    RunRecord record(timing);
    SweepView view(record, dialogs);
    PaintCounter counter;
    view.chart()->installEventFilter(&counter);
    view.show();
    letEventsRun();
    const double emptyMiB = residentMiB();

    // Planned from 1 kHz to 100 kHz, as pointAt sweeps.
    record.begin({true, points, logarithmic, 0.6, 1000.0, 100000.0});
    letEventsRun();
    std::vector<double> wallMs;
    std::vector<double> processorMs;
    for (int index = 0; index < points; ++index) {
        const MeasuredPoint point = pointAt(index, points, logarithmic);
        QElapsedTimer clock;
        clock.start();
        const double processorBefore = threadMs();
        record.add(point);
        letEventsRun();
        processorMs.push_back(threadMs() - processorBefore);
        wallMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    record.end();
    letEventsRun();
    const double fullMiB = residentMiB();

    const Spread wall = spreadOf(wallMs);
    const Spread processor = spreadOf(processorMs);
    std::printf("sweep view, %d-point %s run added to the shown view (%d chart repaints), per "
                "point: processor time median %.3f ms, worst %.3f ms, all points %.1f ms; wall "
                "time median %.3f ms, worst %.3f ms\n",
                points, logarithmic ? "logarithmic" : "linear", counter.paints, processor.median,
                processor.worst, std::accumulate(processorMs.begin(), processorMs.end(), 0.0),
                wall.median, wall.worst);
    std::printf("sweep view, resident memory: open and empty %.1f MiB, after the %d-point run "
                "%.1f MiB, %.2f MiB more\n",
                emptyMiB, points, fullMiB, fullMiB - emptyMiB);
    if (points < 1001)
        return;

    // The run held eight times: eight shown references of the run's points.
    for (int held = 0; held < SweepView::MostReferences; ++held)
        view.holdReference();
    letEventsRun();
    const double referencesMiB = residentMiB();
    std::vector<double> redrawMs;
    for (int redraw = 0; redraw < 21; ++redraw) {
        const double before = threadMs();
        view.chart()->replot(QCustomPlot::rpImmediateRefresh);
        redrawMs.push_back(threadMs() - before);
    }
    const Spread redraw = spreadOf(redrawMs);
    std::printf("sweep view, the run and %d shown references of %d points: full redraw "
                "(processor) median %.2f ms, worst %.2f ms; resident memory %.2f MiB over the "
                "empty view\n",
                SweepView::MostReferences, points, redraw.median, redraw.worst,
                referencesMiB - emptyMiB);
}

// The chart alone: each point appended, followed by the events it causes (a replot when
// one is due).
void addRunToChart(int points) {
    SweepChart chart;
    chart.resize(800, 500);
    chart.show();
    letEventsRun();
    chart.clear({true, points, true, 0.6, 1000.0, 100000.0});
    letEventsRun();
    std::vector<double> processorMs;
    for (int index = 0; index < points; ++index) {
        const MeasuredPoint point = pointAt(index, points, true);
        const double before = threadMs();
        chart.addPoint(point);
        letEventsRun();
        processorMs.push_back(threadMs() - before);
    }
    const Spread processor = spreadOf(processorMs);
    std::printf("sweep chart alone, %d-point logarithmic run, per point: processor time median "
                "%.3f ms, worst %.3f ms\n",
                points, processor.median, processor.worst);
}
} // namespace

void benchSweepView() {
    // The longest sweep first, so that its memory figure starts from a heap that no earlier
    // view has grown; then the default sweep.
    addRun(1001, true);
    addRun(11, false);
    addRunToChart(1001);
}
