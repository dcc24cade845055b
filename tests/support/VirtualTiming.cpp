// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/VirtualTiming.h"

#include <QCoreApplication>

#include <numeric>

void VirtualTiming::sleepMs(int ms) {
    m_sleeps.push_back(ms);
    m_now += ms / 1000.0;
}

void VirtualTiming::letEventsRun() {
    ++m_pumps;
    QCoreApplication::processEvents();
    runDueActions();
}

void VirtualTiming::waitForEvents(int boundMs) {
    m_now += boundMs / 1000.0;
    letEventsRun();
}

QDateTime VirtualTiming::currentDateTime() {
    return QDateTime(QDate(2026, 12, 7), QTime(10, 30, 0))
        .addMSecs(static_cast<qint64>(m_now * 1000));
}

void VirtualTiming::at(double seconds, std::function<void()> action) {
    m_scheduled.push_back({seconds, std::move(action)});
}

int VirtualTiming::totalSleptMs() const {
    return std::accumulate(m_sleeps.begin(), m_sleeps.end(), 0);
}

void VirtualTiming::runDueActions() {
    for (std::size_t i = 0; i < m_scheduled.size();) {
        if (m_scheduled[i].when <= m_now) {
            auto action = std::move(m_scheduled[i].action);
            m_scheduled.erase(m_scheduled.begin() + static_cast<std::ptrdiff_t>(i));
            action();
            i = 0;
        } else {
            ++i;
        }
    }
}
