#include "SignalWatch.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {
int pipeEnds[2] = {-1, -1};

void writeSignalNumber(int signalNumber) {
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Nothing else is safe in a handler; a full pipe already holds a signal to act on.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

constexpr int Watched[] = {SIGINT, SIGTERM, SIGHUP};
} // namespace

SignalWatch::SignalWatch(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatch::readSignal);
    struct sigaction action {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : Watched)
        ::sigaction(signalNumber, &action, nullptr);
}

SignalWatch::~SignalWatch() {
    for (const int signalNumber : Watched)
        ::signal(signalNumber, SIG_DFL);
    for (int& end : pipeEnds)
        if (end >= 0)
            ::close(std::exchange(end, -1));
}

void SignalWatch::readSignal() {
    unsigned char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) != 1)
        return;
    if (m_received == 0)
        m_received = byte;
    emit arrived(byte);
}
