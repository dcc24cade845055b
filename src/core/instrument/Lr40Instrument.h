// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/Instrument.h"

// The LR40 series: commands end in CR, one query returns a whole result, and the result
// carries a test number and a bin.
class Lr40Instrument final : public Instrument {
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
