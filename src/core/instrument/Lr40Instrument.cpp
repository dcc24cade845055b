// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/Lr40Instrument.h"

#include "instrument/ResultDecoding.h"
#include "profiles/InstrumentVariant.h"

void Lr40Instrument::handOver(InstrumentLink& link, SerialPort& /*port*/,
                              const std::function<void(bool)>& showResults) const {
    for (const QString& command : variant().connection.preparationCommands)
        link.SendCommand(command);
    showResults(false);
}

Reply Lr40Instrument::triggerAndFetch(InstrumentLink& link, Timing& /*timing*/) const {
    link.SendQuery(QStringLiteral("MEAS:*WAIT:FETC?"));
    return link.ReadReplySettled();
}

MeasuredPoint Lr40Instrument::decodeResult(const QString& reply) const {
    return decodeLr40Reply(reply);
}

double Lr40Instrument::pacingSecondsPerMeasurement() const {
    return InstrumentLink::SettleMs / 1000.0;
}

IdentityLayout Lr40Instrument::identityLayout() const {
    return {true, true};
}
