// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the panel's benchmarks.
// Usage: lcrpanel_bench [silent|latency|sweep|paced|trace|view|viewsweep|analysis|flood|all]
// ("all" leaves out flood, which sends 100 MB through a pseudo-terminal)
#include "bench_analysis.h"
#include "bench_flood.h"
#include "bench_link.h"
#include "bench_sweep.h"
#include "bench_sweep_view.h"

#include <QApplication>

#include <cstring>

int main(int argc, char** argv) {
    // The sweep runs the real windows; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const char* which = argc > 1 ? argv[1] : "all";
    const bool all = std::strcmp(which, "all") == 0;
    if (all || std::strcmp(which, "latency") == 0)
        benchReplyLatency(200);
    if (all || std::strcmp(which, "silent") == 0)
        benchSilentRead();
    if (all || std::strcmp(which, "sweep") == 0) {
        benchSweep(false, 0);
        benchSweep(true, 0);
    }
    if (all || std::strcmp(which, "paced") == 0) {
        benchSweep(false, 9600);
        benchSweep(true, 9600);
    }
    if (all || std::strcmp(which, "trace") == 0)
        benchTraceCost();
    if (all || std::strcmp(which, "view") == 0)
        benchSweepView();
    if (all || std::strcmp(which, "viewsweep") == 0)
        benchViewCost();
    if (all || std::strcmp(which, "analysis") == 0)
        benchAnalysis();
    if (std::strcmp(which, "flood") == 0)
        benchFlood();
    return 0;
}
