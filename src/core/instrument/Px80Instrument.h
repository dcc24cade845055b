// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/Instrument.h"

// The PX80: commands end in LF, the port's handshake lines are raised at connect, and a
// result is triggered, paced by a status query and then fetched.
class Px80Instrument final : public Instrument {
public:
    using Instrument::Instrument;

    void handOver(InstrumentLink& link, SerialPort& port,
                  const std::function<void(bool bringToFront)>& showResults) const override;
    Reply triggerAndFetch(InstrumentLink& link, Timing& timing) const override;
    MeasuredPoint decodeResult(const QString& reply) const override;
    double pacingSecondsPerMeasurement() const override;

protected:
    IdentityLayout identityLayout() const override;
};
