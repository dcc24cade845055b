// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Timing.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

SystemTiming::SystemTiming() : m_start(std::chrono::steady_clock::now()) {}

double SystemTiming::now() {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_start;
    return elapsed.count();
}

void SystemTiming::sleepMs(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

void SystemTiming::letEventsRun() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SystemTiming::waitForEvents(int boundMs) {
    // The single-shot timer bounds the wait: the dispatcher sleeps until the serial port's
    // notifier, a window event or this timer wakes it.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(boundMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

QDateTime SystemTiming::currentDateTime() {
    return QDateTime::currentDateTime();
}
