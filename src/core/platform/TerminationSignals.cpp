// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#ifndef Q_OS_WIN
#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array<int, 3> Caught{SIGTERM, SIGINT, SIGHUP};
int pairEnds[2] = {-1, -1}; // [0] written by the handler, [1] read on the event loop
std::array<struct sigaction, Caught.size()> formerActions{};

extern "C" void noteSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // Nothing else is safe here; a full pair drops the byte, one is enough.
    [[maybe_unused]] const auto written = ::write(pairEnds[0], &byte, 1);
    errno = saved;
}
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    Q_ASSERT(pairEnds[0] < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pairEnds) != 0)
        return;
    m_notifier = new QSocketNotifier(pairEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::takeSignal);
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Caught.size(); ++i)
        ::sigaction(Caught[i], &action, &formerActions[i]);
}

TerminationSignals::~TerminationSignals() {
    if (pairEnds[0] < 0)
        return;
    for (std::size_t i = 0; i < Caught.size(); ++i)
        ::sigaction(Caught[i], &formerActions[i], nullptr);
    delete m_notifier;
    ::close(pairEnds[0]);
    ::close(pairEnds[1]);
    pairEnds[0] = pairEnds[1] = -1;
}

void TerminationSignals::takeSignal() {
    unsigned char byte = 0;
    while (::read(pairEnds[1], &byte, 1) == 1)
        emit received(byte);
}

#else

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::takeSignal() {}

#endif
