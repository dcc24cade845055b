// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSerialPort>
#include <QString>

// Why a device could not be opened, in the operator's words, from QSerialPort's error
// after the failed open and its own text; empty when there is nothing to say.
QString openFailureReason(QSerialPort::SerialPortError error, const QString& device,
                          const QString& systemText);
