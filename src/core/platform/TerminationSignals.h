// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP, turned into a Qt signal on the event loop, so that a program
// can end through its own exit sequence instead of being killed outright. The handler
// only writes the signal's number into a socket pair; a notifier reads it on the event
// loop and emits received(). One instance at a time; the former handlers come back when
// it goes. (Windows: nothing is caught.)
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // A program ended by a signal exits with 128 + its number, as a shell reports it.
    static int exitStatusFor(int signalNumber) { return 128 + signalNumber; }

signals:
    void received(int signalNumber);

private:
    void takeSignal();

    QSocketNotifier* m_notifier = nullptr;
};
