// SPDX-License-Identifier: GPL-3.0-or-later
#include "PseudoTerminal.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

PseudoTerminal::PseudoTerminal() {
    std::array<char, 256> name{};
    if (openpty(&m_master, &m_slave, name.data(), nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name.data());
}

PseudoTerminal::~PseudoTerminal() {
    close(m_slave);
    close(m_master);
}

void PseudoTerminal::write(const QByteArray& bytes) {
    if (::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
        throw std::runtime_error("write to pseudo-terminal failed");
}

QByteArray PseudoTerminal::readAvailable() {
    QByteArray all;
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t n = ::read(m_master, chunk.data(), chunk.size());
        if (n <= 0)
            return all;
        all.append(chunk.data(), static_cast<qsizetype>(n));
    }
}
