// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/Failure.h"

#include <QString>

// A port that could not be opened: the device tried and, when the system gives one, the
// reason in the operator's words ("no such device").
class PortOpenError : public Failure {
public:
    PortOpenError(const QString& device, const QString& reason)
        : Failure(QStringLiteral("Cannot open %1: %2").arg(device, reason)), m_device(device),
          m_reason(reason) {}
    const QString& device() const { return m_device; }
    const QString& reason() const { return m_reason; }

private:
    QString m_device;
    QString m_reason;
};
