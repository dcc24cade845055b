// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/Instrument.h"

#include "instrument/Lr40Instrument.h"
#include "instrument/Px80Instrument.h"
#include "profiles/InstrumentVariant.h"

Reply Instrument::identify(InstrumentLink& link, InstrumentIdentity& identity) const {
    if (m_variant.link.identitySendsBareTerminatorFirst)
        link.SendCommand(QString());
    link.SendQuery(m_variant.link.identityQuery);
    Reply reply = link.ReadReply();
    if (!reply.timedOut)
        splitIdentity(reply.text, identity);
    return reply;
}

void Instrument::sendFrequency(InstrumentLink& link, qint32 hertz) const {
    link.SendCommandEndedBy(QStringLiteral("conf:freq ") + frequencyText(hertz),
                            m_variant.measure.frequencyCommandTerminator);
}

void Instrument::sendLock(InstrumentLink& link, bool locked) const {
    link.SendCommand(locked ? QStringLiteral("Syst:lock on") : QStringLiteral("Syst:lock off"));
}

std::unique_ptr<Instrument> makeInstrument(const InstrumentVariant& variant) {
    switch (variant.kind) {
    case VariantKind::LR40:
        return std::make_unique<Lr40Instrument>(variant);
    case VariantKind::PX80:
        return std::make_unique<Px80Instrument>(variant);
    }
    return nullptr;
}
