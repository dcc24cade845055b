// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/InstrumentLink.h"

#include "link/SerialPort.h"
#include "link/SilencePolicy.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"
#include "values/Failure.h"
#include "values/ProgramEnding.h"

#include <utility>

InstrumentLink::InstrumentLink(const InstrumentVariant& variant, SerialPort& port, Timing& timing,
                               SilencePolicy& silence)
    : m_variant(variant), m_port(port), m_timing(timing), m_silence(silence) {}

void InstrumentLink::SendCommand(const QString& text) {
    SendCommandEndedBy(text, m_variant.link.commandTerminator);
}

void InstrumentLink::SendCommandEndedBy(const QString& text, const QByteArray& terminator) {
    m_lastCommand = text;
    m_port.Output(text.toLatin1() + terminator);
}

void InstrumentLink::SendQuery(const QString& text) {
    m_discardedBytes += m_port.discardReceived();
    SendCommand(text);
}

void InstrumentLink::poll(bool first, Collected& collected) {
    if (first)
        m_timing.letEventsRun();
    else
        m_timing.waitForEvents(PollBoundMs);
    if (m_programEnded)
        throw ProgramEnding();
    const QByteArray bytes = m_port.Input();
    if (collected.overflowed) {
        collected.lineEnded = collected.lineEnded || bytes.contains('\n');
        return;
    }
    collected.text += QString::fromLatin1(bytes);
    if (collected.text.size() > MaxReplyChars) {
        collected.overflowed = true;
        collected.text = QString();
    }
}

void InstrumentLink::letEventsRun() {
    m_timing.letEventsRun();
    if (m_programEnded)
        throw ProgramEnding();
}

bool InstrumentLink::elapsedOver(double start, double limit) {
    return m_timing.now() - start > limit;
}

template <typename Done>
void InstrumentLink::pollUntil(Done done, double start, Collected& collected) {
    // The first pass only lets pending events run and takes what is there; later passes
    // sleep in the dispatcher until something arrives.
    bool first = true;
    do {
        poll(first, collected);
        first = false;
    } while (!done(collected) && !elapsedOver(start, ReadLimitSeconds));
}

namespace {
bool hasLineEnd(const InstrumentLink::Collected& collected) {
    return collected.overflowed ? collected.lineEnded : collected.text.contains(QLatin1Char('\n'));
}
bool hasAnything(const InstrumentLink::Collected& collected) {
    return collected.overflowed || !collected.text.isEmpty();
}
} // namespace

Reply InstrumentLink::ReadReply() {
    Collected collected;
    pollUntil(hasLineEnd, m_timing.now(), collected);
    return finish(collected, longNotRespondingText());
}

Reply InstrumentLink::ReadReplySettled() {
    Collected collected;
    const double start = m_timing.now();
    pollUntil(hasAnything, start, collected);

    // Settling: the rest of the reply comes in while nothing else runs.
    const double settleStart = m_timing.now();
    m_timing.sleepMs(SettleMs);
    while (!elapsedOver(settleStart, SettleMs / 1000.0))
        m_timing.sleepMs(1);

    pollUntil(hasLineEnd, start, collected);
    return finish(collected, shortNotRespondingText());
}

Reply InstrumentLink::finish(Collected collected, const QString& silenceText) {
    if (collected.overflowed)
        throw Failure(QStringLiteral("The instrument's reply was longer than %1 characters and "
                                     "was dropped")
                          .arg(MaxReplyChars));
    Reply reply{std::move(collected.text), false};
    if (!reply.text.isEmpty())
        return reply;
    m_silence.onSilence(Silence{silenceText, m_lastCommand});
    reply.timedOut = true;
    return reply;
}

QString InstrumentLink::longNotRespondingText() const {
    const QString& s = m_variant.link.seriesName;
    return QStringLiteral("%1 not responding\r"
                          "Make sure %1 is turned on and RS232 cable is connected\r"
                          "Make sure %1 is not in program or utilities menu\r"
                          "In Utilities check Baud Rate and set Trigger Source to External")
        .arg(s);
}

QString InstrumentLink::shortNotRespondingText() const {
    return QStringLiteral("%1 not responding").arg(m_variant.link.seriesName);
}
