// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

class SerialPort;

// The connection window's `port` list: "1" and "2", then every serial device the system
// reports, each item carrying its device as item data. It is refilled whenever it opens,
// so that an adapter plugged in after start-up shows up; the text shown stays. Typed text
// stays as typed: an item is chosen by picking it or by typing its whole text.
class PortList final : public QComboBox {
    Q_OBJECT
public:
    PortList(const SerialPort& port, QWidget* parent);

    void showPopup() override;

private:
    void refill();

    const SerialPort& m_port;
};
