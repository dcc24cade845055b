// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/Px80Instrument.h"

#include "instrument/ResultDecoding.h"
#include "link/SerialPort.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"

namespace {
constexpr int TriggerPauseMs = 100;
}

void Px80Instrument::handOver(InstrumentLink& link, SerialPort& port,
                              const std::function<void(bool)>& showResults) const {
    showResults(false);
    port.setDTREnable(true);
    port.setRTSEnable(true);
    port.setInBufferCount(0);
    for (const QString& command : variant().connection.preparationCommands)
        link.SendCommand(command);
    showResults(true);
}

Reply Px80Instrument::triggerAndFetch(InstrumentLink& link, Timing& timing) const {
    link.SendCommand(QStringLiteral("MEAS:"));
    timing.sleepMs(TriggerPauseMs);
    // The status reply only paces the instrument; neither it nor its silence matters.
    link.SendQuery(QStringLiteral("*STB?"));
    link.ReadReplySettled();
    link.SendQuery(QStringLiteral("Fetch?"));
    return link.ReadReplySettled();
}

MeasuredPoint Px80Instrument::decodeResult(const QString& reply) const {
    return decodePx80Reply(reply);
}

double Px80Instrument::pacingSecondsPerMeasurement() const {
    return TriggerPauseMs / 1000.0 + 2 * InstrumentLink::SettleMs / 1000.0;
}

IdentityLayout Px80Instrument::identityLayout() const {
    return {false, false};
}
