// SPDX-License-Identifier: GPL-3.0-or-later
// Long runs of LR40 against lcrsim on a pseudo-terminal, logging on, driven like an
// operator through the windows' objectNames and button clicks. Run by hand (bench/soak.sh);
// see docs/RELIABILITY.md.
//
//   lcrpanel_soak sweeps  [--minutes 30] [--steps 1000]     back-to-back sweeps
//   lcrpanel_soak singles [--count 5000]                    single measurements
//   lcrpanel_soak cuts    [--minutes 30] [--steps 1000] [--cut-every 180] [--restore-ms 2000]
//                                                           sweeps on a line cut and restored
// and for each: [--lcrsim PATH] [--log FILE] (the file is replaced; default: a temporary one)
//
// A sweep that has begun runs to its end (or to its failure); then the time is checked.
// Prints a summary; exit status 0 when every check holds, 1 when one fails, 2 on bad usage.
#include "SoakDriver.h"
#include "SoakFigures.h"

#include "app/ProgramRoot.h"
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <memory>
#include <string>

namespace {
enum class Mode { Sweeps, Singles, Cuts };

struct SoakOptions {
    Mode mode = Mode::Sweeps;
    double minutes = 30;
    int steps = 1000;
    int count = 5000;
    double cutEverySeconds = 180;
    int restoreMs = 2000;
    QString lcrsim;
    QString log;
};

bool parse(int argc, char** argv, SoakOptions& options) {
    if (argc < 2)
        return false;
    const std::map<std::string, Mode> modes{
        {"sweeps", Mode::Sweeps}, {"singles", Mode::Singles}, {"cuts", Mode::Cuts}};
    const auto mode = modes.find(argv[1]);
    if (mode == modes.end())
        return false;
    options.mode = mode->second;
#ifdef LCRSIM_PATH
    options.lcrsim = QStringLiteral(LCRSIM_PATH);
#endif
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        bool ok = true;
        if (name == "--minutes")
            options.minutes = value.toDouble(&ok);
        else if (name == "--steps")
            options.steps = value.toInt(&ok);
        else if (name == "--count")
            options.count = value.toInt(&ok);
        else if (name == "--cut-every")
            options.cutEverySeconds = value.toDouble(&ok);
        else if (name == "--restore-ms")
            options.restoreMs = value.toInt(&ok);
        else if (name == "--lcrsim")
            options.lcrsim = value;
        else if (name == "--log")
            options.log = value;
        else
            return false;
        if (!ok)
            return false;
    }
    return argc % 2 == 0 && options.steps > 0 && options.steps <= 1000 && options.count > 0 &&
           options.minutes > 0 && options.cutEverySeconds > 0 && !options.lcrsim.isEmpty();
}

// lcrsim on its own pseudo-terminal behind a symbolic link that outlives its reopenings.
class Simulator {
public:
    Simulator(const QString& program, const QStringList& arguments) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, arguments);
        m_process.waitForStarted();
        while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
        }
        m_started = !m_process.readLine().trimmed().isEmpty();
    }
    ~Simulator() {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    bool started() const { return m_started; }

private:
    QProcess m_process;
    bool m_started = false;
};

QString mib(long kib) {
    return kib < 0 ? QStringLiteral("(not taken)") : QString::number(kib / 1024.0, 'f', 1);
}

const char* yesNo(bool yes) {
    return yes ? "yes" : "NO";
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SoakOptions options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: lcrpanel_soak sweeps|singles|cuts [--minutes M] "
                             "[--steps N] [--count N] [--cut-every SEC] [--restore-ms MS] "
                             "[--lcrsim PATH] [--log FILE]\n");
        return 2;
    }
    const bool sweeping = options.mode != Mode::Singles;
    const SweepPlan plan{1000, 100000, sweeping ? options.steps : 0};

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("line"));
    const QString logPath =
        options.log.isEmpty() ? dir.filePath(QStringLiteral("soak.csv")) : options.log;
    QFile::remove(logPath);
    QStringList simArguments{QStringLiteral("--dialect"), QStringLiteral("lr40"),
                             QStringLiteral("--link"), link};
    if (options.mode == Mode::Cuts)
        simArguments << QStringLiteral("--cut-every") << QString::number(options.cutEverySeconds)
                     << QStringLiteral("--reopen-after-ms") << QString::number(options.restoreMs);
    const Simulator simulator(options.lcrsim, simArguments);
    if (!simulator.started()) {
        std::fprintf(stderr, "lcrsim did not start: %s\n", qPrintable(options.lcrsim));
        return 1;
    }
    qputenv("LCRPANEL_COM1", QFile::encodeName(link));

    auto ownedDialogs = std::make_unique<SoakDialogs>(logPath);
    SoakDialogs& dialogs = *ownedDialogs;
    ProgramRoot root(lr40Profile(), tracedWhenAsked(std::make_unique<QtSerialPortComponent>()),
                     std::make_unique<SystemTiming>(), std::move(ownedDialogs));
    root.start();
    const QString shownPath = dir.filePath(QStringLiteral("shown.txt"));
    std::unique_ptr<SoakDriver> ownedDriver;
    try {
        ownedDriver = std::make_unique<SoakDriver>(dialogs, shownPath);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    SoakDriver& driver = *ownedDriver;

    QElapsedTimer wall;
    ProcessSample baseline;
    ProcessSample end;
    int runs = 0;
    int failedRuns = 0;
    int reconnects = 0;
    double processor = 0;
    try {
        // A cut may strike while setting up as well; then the operator starts again.
        bool ready = false;
        bool configured = false;
        for (int attempt = 0; attempt < 5 && !ready; ++attempt) {
            if (attempt > 0)
                driver.leaveResults();
            if (!driver.connectWithin(60000))
                continue;
            if (!configured)
                configured = driver.configure(sweeping, plan.start, plan.stop, options.steps);
            ready = configured && driver.startLogging();
        }
        if (!ready) {
            std::fprintf(stderr, "the program could not be connected, configured and logging\n");
            return 1;
        }
        const int messagesAtStart = dialogs.count();
        const double processorAtStart = processorSeconds();
        wall.start();
        const qint64 durationMs = static_cast<qint64>(options.minutes * 60000.0);
        // After the first 1000 measurements, or half of a shorter run.
        const int baselineAfter = std::max(1, std::min(1000, options.count / 2));

        for (;;) {
            if (options.mode == Mode::Singles ? runs == options.count
                                              : wall.elapsed() >= durationMs)
                break;
            const bool completed = driver.runOnce();
            ++runs;
            if (!completed) {
                ++failedRuns;
                if (options.mode != Mode::Cuts)
                    break;
                // The operator leaves the results window and connects again once the line
                // is back, then logs on into the same file.
                driver.leaveResults();
                if (!driver.connectWithin(60000) || !driver.startLogging())
                    break;
                ++reconnects;
                std::printf("  %.1f min: reconnected (%d so far), %d results shown, %s MiB "
                            "resident, %d windows\n",
                            static_cast<double>(wall.elapsed()) / 60000.0, reconnects,
                            driver.shownCount(), qPrintable(mib(residentKiB())),
                            static_cast<int>(QApplication::topLevelWidgets().size()));
            } else if (sweeping) {
                std::printf("  %.1f min: sweep %d done, %d results shown, %s MiB resident\n",
                            static_cast<double>(wall.elapsed()) / 60000.0, runs,
                            driver.shownCount(), qPrintable(mib(residentKiB())));
            } else if (runs % 1000 == 0) {
                std::printf("  %.1f min: %d measurements, %s MiB resident\n",
                            static_cast<double>(wall.elapsed()) / 60000.0, runs,
                            qPrintable(mib(residentKiB())));
            }
            std::fflush(stdout);
            // The same state at both samples: between runs, connected and logging.
            const bool baselineMoment = options.mode == Mode::Singles  ? runs == baselineAfter
                                        : options.mode == Mode::Sweeps ? runs == 1
                                                                       : reconnects == 1;
            if (baselineMoment && !baseline.taken() && (completed || reconnects > 0))
                baseline = sampleProcess();
        }
        end = sampleProcess();
        processor = processorSeconds() - processorAtStart;
        driver.stopLogging();
        if (options.mode != Mode::Cuts && dialogs.count() != messagesAtStart)
            failedRuns = std::max(failedRuns, 1);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "the soak run broke off: %s\n", error.what());
        return 1;
    }

    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    driver.flushShown();
    const LogCheck log = checkLog(logPath, shownPath, plan);
    const long grownKiB = end.residentKiB - baseline.residentKiB;
    const bool memoryFlat = baseline.taken() && grownKiB < 1024 && grownKiB > -1024;
    const bool descriptorsSame = baseline.taken() && end.descriptors == baseline.descriptors;
    const int shown = driver.shownCount();
    const char* const baselineWhen = options.mode == Mode::Singles  ? "after the first measurements"
                                     : options.mode == Mode::Sweeps ? "after the first sweep"
                                                                    : "after the first reconnect";

    std::printf("\nSoak of LR40 against lcrsim, logging on: ");
    if (options.mode == Mode::Singles)
        std::printf("%d single measurements\n", options.count);
    else
        std::printf(
            "%d-point sweeps (%d..%d Hz) for %.1f min%s\n", options.steps + 1, plan.start,
            plan.stop, options.minutes,
            options.mode == Mode::Cuts
                ? qPrintable(QStringLiteral(", the line cut every %1 s and back after %2 ms")
                                 .arg(options.cutEverySeconds)
                                 .arg(options.restoreMs))
                : "");
    std::printf("  ran %.1f min: %d runs (%d failed), %d results shown, %d messages, %d "
                "reconnects\n",
                seconds / 60.0, runs, failedRuns, shown, dialogs.count(), reconnects);
    std::printf("  resident memory: %s MiB %s, %s MiB at the end (%+ld KiB)\n",
                qPrintable(mib(baseline.residentKiB)), baselineWhen,
                qPrintable(mib(end.residentKiB)), baseline.taken() ? grownKiB : 0L);
    std::printf("  open file descriptors: %d %s, %d at the end\n", baseline.descriptors,
                baselineWhen, end.descriptors);
    std::printf("  processor share: %.2f %% of one core (%.2f s in %.1f s)\n",
                seconds > 0 ? 100.0 * processor / seconds : 0.0, processor, seconds);
    std::printf("  log: %d result records, whole lines: %s; every result shown is logged once, "
                "in order: %s\n",
                log.records, yesNo(log.wholeLines), yesNo(log.matchesShown));
    if (!log.matchesShown)
        std::printf("    first difference: %s\n", qPrintable(log.firstDifference));
    if (sweeping) {
        std::printf("  sweeps in the log: %d, %d of them whole; frequencies in order: %s\n",
                    log.sweeps, log.wholeSweeps, yesNo(log.frequenciesInOrder));
        if (!log.frequenciesInOrder)
            std::printf("    %s\n", qPrintable(log.frequencyProblem));
    }
    std::printf("  results on the screen but not logged when a run failed: %d\n",
                driver.shownButNotLogged());

    bool pass = log.wholeLines && log.matchesShown && log.frequenciesInOrder &&
                driver.shownButNotLogged() == 0 && shown > 0;
    if (options.mode == Mode::Cuts) {
        std::printf("  (memory and descriptors for information: between two reconnects)\n");
    } else {
        std::printf("  memory within 1 MiB: %s; descriptors unchanged: %s\n", yesNo(memoryFlat),
                    yesNo(descriptorsSame));
        pass = pass && failedRuns == 0 && memoryFlat && descriptorsSame &&
               (!sweeping || log.wholeSweeps == log.sweeps);
    }
    std::printf("verdict: %s\n", pass ? "PASS" : "FAIL");
    return pass ? 0 : 1;
}
