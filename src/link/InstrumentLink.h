#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

struct InstrumentVariant;
class SerialPort;
class Timing;
class Dialogs;

// One reply as a reader collected it.
struct Reply {
    // Every character taken from the port during the read, in arrival order, line end and
    // anything after it in the same poll included.
    QString text;
    // Nothing arrived at all and the operator chose OK in the not-responding message.
    bool timedOut = false;
};

// The command channel to the instrument: one command line out, one reply line in under
// a time limit.
class InstrumentLink {
public:
    static constexpr double ReadLimitSeconds = 10.0;
    static constexpr int SettleMs = 200;
    // How long one poll may sleep in the event dispatcher before the time limit is
    // looked at again; serial data and window events end the sleep at once.
    static constexpr int PollBoundMs = 25;

    // shutdownPath runs when the operator chooses Cancel in a not-responding message;
    // the read then throws ProgramEnding.
    InstrumentLink(const InstrumentVariant& variant, SerialPort& port, Timing& timing,
                   Dialogs& dialogs, std::function<void()> shutdownPath);

    // Writes text + the variant's terminator in one write. Throws Failure.
    void SendCommand(const QString& text);
    // Writes text + the given terminator in one write (the few commands with their own).
    void SendCommandEndedBy(const QString& text, const QByteArray& terminator);

    // One reply line within 10 s; the long not-responding message when nothing came.
    Reply ReadReply();
    // As ReadReply, with a 0.2 s settling pause after the first characters; the short
    // message when nothing came.
    Reply ReadReplySettled();

    // Lets pending events run once, as the sweep does at the top of each point. Throws
    // ProgramEnding once the program has ended inside such an event.
    void letEventsRun();

    // Called by the shutdown path: every later poll unwinds instead of going on.
    void markProgramEnded() { m_programEnded = true; }

    QString longNotRespondingText() const;
    QString shortNotRespondingText() const;

private:
    void poll(bool first, QString& collected);
    // Polls until done() or more than the read limit since start; never spins.
    template <typename Done> void pollUntil(Done done, double start, QString& collected);
    bool elapsedOver(double start, double limit);
    // The end of every read: the not-responding message when nothing came.
    Reply finish(QString collected, const QString& silenceText);

    const InstrumentVariant& m_variant;
    SerialPort& m_port;
    Timing& m_timing;
    Dialogs& m_dialogs;
    std::function<void()> m_shutdownPath;
    bool m_programEnded = false;
};
