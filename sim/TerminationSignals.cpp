// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminationSignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace lcrsim {

namespace {

constexpr std::array<int, 3> terminationSignals{SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t signalWriteFd = -1;

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    if (signalWriteFd >= 0) {
        // Nothing useful can be done in a handler if the pipe is full: a byte is there.
        const ssize_t written = ::write(signalWriteFd, &byte, 1);
        static_cast<void>(written);
    }
    errno = savedErrno;
}

void setFlags(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

} // namespace

TerminationSignals::TerminationSignals() {
    int ends[2];
    if (::pipe(ends) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe");
    m_readEnd.reset(ends[0]);
    m_writeEnd.reset(ends[1]);
    setFlags(ends[0]);
    setFlags(ends[1]);
    signalWriteFd = ends[1];

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : terminationSignals)
        ::sigaction(signalNumber, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

TerminationSignals::~TerminationSignals() {
    for (const int signalNumber : terminationSignals)
        std::signal(signalNumber, SIG_DFL);
    signalWriteFd = -1;
}

bool TerminationSignals::consume() {
    bool arrived = false;
    char buffer[64];
    while (::read(m_readEnd.get(), buffer, sizeof buffer) > 0)
        arrived = true;
    return arrived;
}

} // namespace lcrsim
