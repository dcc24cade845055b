// SPDX-License-Identifier: GPL-3.0-or-later
#include "PacedRelay.h"

#include <chrono>
#include <deque>

PacedRelay::PacedRelay(int baud) : m_characterSeconds(10.0 / baud), m_thread([this] { run(); }) {}

PacedRelay::~PacedRelay() {
    m_stop = true;
    m_thread.join();
}

void PacedRelay::run() {
    using Clock = std::chrono::steady_clock;
    const auto characterTime = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(m_characterSeconds));
    // Each direction is its own line: a byte leaves one character time after the one before.
    struct Direction {
        PseudoTerminal& from;
        PseudoTerminal& to;
        std::deque<char> queue;
        Clock::time_point nextFree{};
    };
    Direction directions[2] = {{m_panel, m_instrument, {}, {}}, {m_instrument, m_panel, {}, {}}};
    while (!m_stop) {
        const Clock::time_point now = Clock::now();
        for (Direction& d : directions) {
            const QByteArray arrived = d.from.readAvailable();
            d.queue.insert(d.queue.end(), arrived.begin(), arrived.end());
            if (d.nextFree < now - characterTime)
                d.nextFree = now - characterTime;
            while (!d.queue.empty() && d.nextFree + characterTime <= now) {
                d.to.write(QByteArray(1, d.queue.front()));
                d.queue.pop_front();
                d.nextFree += characterTime;
                ++m_carried;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}
