// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

struct InstrumentVariant;
class SerialPort;
class Timing;
class SilencePolicy;

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
    // The most a reply may hold. The longest real reply is under 100 characters; a line
    // that runs on past this (a flooding or broken line) fails its command instead of
    // filling the memory.
    static constexpr int MaxReplyChars = 64 * 1024;

    // silence decides what a read that received nothing does next.
    InstrumentLink(const InstrumentVariant& variant, SerialPort& port, Timing& timing,
                   SilencePolicy& silence);

    // Writes text + the variant's terminator in one write. Throws Failure.
    void SendCommand(const QString& text);
    // Writes text + the given terminator in one write (the few commands with their own).
    void SendCommandEndedBy(const QString& text, const QByteArray& terminator);
    // SendCommand for a command whose reply will be read: whatever has arrived unasked
    // before it (a late reply to an earlier command) is discarded first, so that it
    // cannot pass for this command's reply.
    void SendQuery(const QString& text);
    // Bytes discarded so far by SendQuery.
    qint64 discardedBytes() const { return m_discardedBytes; }

    // The last command written, without its terminator; empty before the first.
    const QString& lastCommand() const { return m_lastCommand; }

    // One reply line within 10 s; the long not-responding message when nothing came.
    // A reply longer than MaxReplyChars is read on (and dropped) until its line feed or the
    // time limit, and then fails with a Failure.
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

    // What a read has taken so far.
    struct Collected {
        QString text;
        bool overflowed = false; // more than MaxReplyChars came; text was dropped
        bool lineEnded = false;  // a line feed came after the overflow
    };

private:
    void poll(bool first, Collected& collected);
    // Polls until done() or more than the read limit since start; never spins.
    template <typename Done> void pollUntil(Done done, double start, Collected& collected);
    bool elapsedOver(double start, double limit);
    // The end of every read: the not-responding message when nothing came, the failure
    // when the reply was too long.
    Reply finish(Collected collected, const QString& silenceText);

    const InstrumentVariant& m_variant;
    SerialPort& m_port;
    Timing& m_timing;
    SilencePolicy& m_silence;
    QString m_lastCommand;
    bool m_programEnded = false;
    qint64 m_discardedBytes = 0;
};
