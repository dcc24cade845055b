#include "link/InstrumentLink.h"

#include "link/Module1.h"
#include "link/ProgramEnding.h"
#include "link/SerialPort.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"

#include <utility>

InstrumentLink::InstrumentLink(const InstrumentVariant& variant, SerialPort& port, Timing& timing,
                               Dialogs& dialogs, Module1& module1,
                               std::function<void()> shutdownPath)
    : m_variant(variant), m_port(port), m_timing(timing), m_dialogs(dialogs), m_module1(module1),
      m_shutdownPath(std::move(shutdownPath)) {}

void InstrumentLink::SendCommand(const QString& text) {
    SendCommandEndedBy(text, m_variant.link.commandTerminator);
}

void InstrumentLink::SendCommandEndedBy(const QString& text, const QByteArray& terminator) {
    m_port.Output(text.toLatin1() + terminator);
}

void InstrumentLink::poll(bool first) {
    if (first)
        m_timing.letEventsRun();
    else
        m_timing.waitForEvents(PollBoundMs);
    if (m_programEnded)
        throw ProgramEnding();
    m_module1.ReplyText += QString::fromLatin1(m_port.Input());
}

void InstrumentLink::letEventsRun() {
    m_timing.letEventsRun();
    if (m_programEnded)
        throw ProgramEnding();
}

bool InstrumentLink::elapsedOver(double start, double limit) {
    return m_timing.now() - start > limit;
}

template <typename Done> void InstrumentLink::pollUntil(Done done, double start) {
    // The first pass only lets pending events run and takes what is there; later passes
    // sleep in the dispatcher until something arrives.
    bool first = true;
    do {
        poll(first);
        first = false;
    } while (!done() && !elapsedOver(start, ReadLimitSeconds));
}

void InstrumentLink::ReadReply() {
    m_module1.ReplyText.clear();
    const double start = m_timing.now();
    pollUntil([this] { return m_module1.ReplyText.contains(QLatin1Char('\n')); }, start);
    m_module1.ReplyTimedOut = false;
    if (m_module1.ReplyText.isEmpty())
        answerSilence(longNotRespondingText());
}

void InstrumentLink::ReadReplySettled() {
    m_module1.ReplyText.clear();
    const double start = m_timing.now();
    pollUntil([this] { return !m_module1.ReplyText.isEmpty(); }, start);

    // Settling: the rest of the reply comes in while nothing else runs.
    const double settleStart = m_timing.now();
    m_timing.sleepMs(SettleMs);
    while (!elapsedOver(settleStart, SettleMs / 1000.0))
        m_timing.sleepMs(1);

    pollUntil([this] { return m_module1.ReplyText.contains(QLatin1Char('\n')); }, start);
    m_module1.ReplyTimedOut = false;
    if (m_module1.ReplyText.isEmpty())
        answerSilence(shortNotRespondingText());
}

void InstrumentLink::answerSilence(const QString& text) {
    const MessageAnswer answer = m_dialogs.message(text, MessageButtons::OkCancel,
                                                   MessageIcon::None, m_variant.applicationTitle);
    if (answer == MessageAnswer::Cancel) {
        m_shutdownPath();
        throw ProgramEnding();
    }
    m_module1.ReplyTimedOut = true;
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
