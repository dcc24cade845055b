#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP, turned into a Qt signal in the event loop: the handler only
// writes the signal's number into a socket pair, and a notifier on the other end reads it.
class SignalWatch : public QObject {
    Q_OBJECT
public:
    explicit SignalWatch(QObject* parent = nullptr);
    ~SignalWatch() override;

    // The first signal that came, 0 while none.
    int received() const { return m_received; }

signals:
    void arrived(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};
