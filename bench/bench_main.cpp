// Runs the panel's benchmarks. Usage: lcrpanel_bench [silent|latency|all]
#include "bench_link.h"

#include <QCoreApplication>

#include <cstring>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const char* which = argc > 1 ? argv[1] : "all";
    const bool all = std::strcmp(which, "all") == 0;
    if (all || std::strcmp(which, "latency") == 0)
        benchReplyLatency(200);
    if (all || std::strcmp(which, "silent") == 0)
        benchSilentRead();
    return 0;
}
