// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the command channel over a real serial component on a pseudo-terminal:
// processor share of a silent read, and the delay from a reply's line feed to the
// reader's return.
#include "bench_link.h"

#include "AnswerOk.h"
#include "PseudoTerminal.h"
#include "link/InstrumentLink.h"
#include "link/Module1.h"
#include "link/QtSerialPortComponent.h"
#include "platform/DialogSilencePolicy.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"

#include <QCoreApplication>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

namespace {
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct LinkUnderTest {
    PseudoTerminal line;
    QtSerialPortComponent port;
    SystemTiming timing;
    AnswerOk dialogs;
    InstrumentVariant variant = lr40Profile();
    DialogSilencePolicy silence{dialogs, variant.applicationTitle, [] {}};
    InstrumentLink link{variant, port, timing, silence};

    LinkUnderTest() {
        qputenv("LCRPANEL_COM1", line.slavePath().toLocal8Bit());
        port.setCommPort(1);
        port.setPortOpen(true);
    }
};
} // namespace

void benchSilentRead() {
    LinkUnderTest t;
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = processorSeconds();
    t.link.ReadReply();
    const double cpu = processorSeconds() - cpuStart;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    std::printf("silent read: wall %.3f s, processor %.4f s, share %.3f %%\n", wall.count(), cpu,
                100.0 * cpu / wall.count());
}

void benchReplyLatency(int rounds) {
    LinkUnderTest t;
    std::vector<double> delaysMs;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(20, 60);
    for (int i = 0; i < rounds; ++i) {
        std::atomic<std::int64_t> sentAt{0};
        const int waitMs = pause(random);
        std::thread instrument([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
            t.line.write("1\tCs\t1.00000E-07\tF\t\t0\tDF\t1.00000E-03\t\r\n");
            sentAt = std::chrono::steady_clock::now().time_since_epoch().count();
        });
        t.link.ReadReply();
        const auto returned = std::chrono::steady_clock::now().time_since_epoch().count();
        instrument.join();
        delaysMs.push_back(static_cast<double>(returned - sentAt.load()) / 1e6);
    }
    std::sort(delaysMs.begin(), delaysMs.end());
    const auto at = [&](double q) {
        return delaysMs[static_cast<std::size_t>(q * static_cast<double>(delaysMs.size() - 1))];
    };
    std::printf("reply latency over %d replies: median %.3f ms, 95th %.3f ms, max %.3f ms\n",
                rounds, at(0.5), at(0.95), delaysMs.back());
}
