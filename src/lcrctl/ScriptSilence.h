// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/SilencePolicy.h"
#include "values/Failure.h"

// The instrument said nothing within the read limit: lcrctl fails the command (exit 4).
class NoAnswer : public Failure {
public:
    using Failure::Failure;
};

// A script has nobody to ask: a silent read fails with NoAnswer, except the status query
// that only paces a PX80 measurement, whose silence the run ignores as the windows' OK does.
class ScriptSilence final : public SilencePolicy {
public:
    explicit ScriptSilence(QString device) : m_device(std::move(device)) {}
    void onSilence(const Silence& silence) override;

private:
    QString m_device;
};
