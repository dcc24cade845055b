// SPDX-License-Identifier: GPL-3.0-or-later
// Wall time of a default sweep against the simulator, over the floor the design sets:
// the 100 ms pauses and 0.2 s settling times (and, on a paced line, the character time).
#include "bench_sweep.h"

#include "AnswerOk.h"
#include "LcrsimProcess.h"
#include "PacedRelay.h"
#include "app/Form1.h"
#include "app/ProgramRoot.h"
#include "config/Configure.h"
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "measure/FrmMeasure.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {} // namespace

double benchSweep(bool px80, int baud, const QString& tracePath, bool viewOpen) {
    std::unique_ptr<PacedRelay> relay;
    if (baud > 0)
        relay = std::make_unique<PacedRelay>(baud);
    QStringList simArguments{QStringLiteral("--dialect"),
                             px80 ? QStringLiteral("px80") : QStringLiteral("lr40")};
    if (relay)
        simArguments << QStringLiteral("--device") << relay->instrumentSide();
    const LcrsimProcess sim(simArguments);
    qputenv("LCRPANEL_COM1", (relay ? relay->panelSide() : sim.line()).toLocal8Bit());

    std::unique_ptr<SerialPort> port = std::make_unique<QtSerialPortComponent>();
    if (!tracePath.isEmpty()) {
        auto trace = std::make_unique<QFile>(tracePath);
        if (!trace->open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::fprintf(stderr, "cannot write the trace %s\n", qPrintable(tracePath));
        else
            port = std::make_unique<TracingSerialPort>(std::move(port), std::move(trace));
    }
    ProgramRoot root(px80 ? px80Profile() : lr40Profile(), std::move(port),
                     std::make_unique<SystemTiming>(), std::make_unique<AnswerOk>());
    root.start();
    if (baud == 19200)
        root.form1().baud()->setEditText(QStringLiteral("19200"));
    root.form1().Measure()->click();
    root.configure()
        .findChild<QComboBox*>(QStringLiteral("SingleorSweep"))
        ->setEditText(QStringLiteral("Sweep"));

    const int points = 11;
    // Per point: LR40 one 100 ms pause and one settled read; PX80 two pauses and two reads.
    const double floor = points * (px80 ? 2 * (0.1 + 0.2) : 0.1 + 0.2);
    const long long carriedBefore = relay ? relay->charactersCarried() : 0;

    if (viewOpen) {
        // Open and drawn before the run, as the operator sees it before pressing Start.
        root.frmMeasure().cmdPlot()->click();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QElapsedTimer clock;
    clock.start();
    root.frmMeasure().Start()->click();
    const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;

    std::printf("%s sweep, %s%s%s: wall %.3f s, design floor %.3f s, ratio %.4f (status \"%s\")\n",
                px80 ? "PX80panel" : "LR40", tracePath.isEmpty() ? "" : "traced, ",
                viewOpen ? "sweep view open, " : "",
                baud > 0 ? qPrintable(QStringLiteral("paced %1 baud line").arg(baud))
                         : "simulator answering at once",
                wall, floor, wall / floor, qPrintable(root.frmMeasure().statusBox()->text()));
    if (relay) {
        const long long characters = relay->charactersCarried() - carriedBefore;
        const double characterSeconds = 10.0 / baud;
        // On the critical path of each point: the trigger command must reach the instrument
        // and the reply's first character come back before the settling pause starts
        // (LR40 "MEAS:*WAIT:FETC?" + CR; PX80 "*STB?" + LF and "Fetch?" + LF). The rest of
        // the reply arrives during the pause, and the frequency command during its own one.
        const int criticalPerPoint = px80 ? (6 + 1) + (7 + 1) : 17 + 1;
        const double physicalFloor = floor + points * criticalPerPoint * characterSeconds;
        std::printf("    %lld characters on the line (%.3f s of line time); floor with the "
                    "critical characters %.3f s, ratio %.4f\n",
                    characters, static_cast<double>(characters) * characterSeconds, physicalFloor,
                    wall / physicalFloor);
    }
    root.form1().Command3()->click();
    return wall / floor;
}

namespace {
double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

void benchTraceCost() {
    const QTemporaryDir dir;
    const QString tracePath = dir.filePath(QStringLiteral("trace.txt"));
    for (const bool px80 : {false, true}) {
        std::vector<double> plain;
        std::vector<double> traced;
        for (int run = 0; run < 3; ++run) {
            plain.push_back(benchSweep(px80, 0));
            traced.push_back(benchSweep(px80, 0, tracePath));
        }
        const double plainMedian = median(plain);
        const double tracedMedian = median(traced);
        std::printf("%s, median of three: %.4f without the trace, %.4f with it (%+.2f %%); "
                    "trace of one sweep %lld bytes\n",
                    px80 ? "PX80panel" : "LR40", plainMedian, tracedMedian,
                    (tracedMedian / plainMedian - 1.0) * 100.0,
                    static_cast<long long>(QFileInfo(tracePath).size()));
    }
}

void benchViewCost() {
    for (const bool px80 : {false, true}) {
        std::vector<double> without;
        std::vector<double> with;
        for (int run = 0; run < 5; ++run) {
            without.push_back(benchSweep(px80, 0));
            with.push_back(benchSweep(px80, 0, QString(), true));
        }
        const double withoutMedian = median(without);
        const double withMedian = median(with);
        std::printf("%s, median of five: %.4f without the sweep view, %.4f with it open; "
                    "ratio %.4f\n",
                    px80 ? "PX80panel" : "LR40", withoutMedian, withMedian,
                    withMedian / withoutMedian);
    }
}
