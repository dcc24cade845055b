// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortList.h"

#include "link/PortChoice.h"
#include "link/SerialPort.h"

#include <QCompleter>
#include <QStringList>

namespace {
constexpr int numberedPorts = 2; // "1" and "2" lead the list

// "/dev/ttyUSB0 - FT232R USB UART (FTDI)"; the parts the system does not know are left out.
// A device that port 1 or 2 opens says so first ("/dev/ttyS0 - port 1"), so that it does
// not look like a second, unknown port.
QString describedDevice(const DetectedPort& detected) {
    QString text = detected.device;
    if (const int number = numberOfPortDevice(detected.device))
        text += QStringLiteral(" - port %1").arg(number);
    if (!detected.description.isEmpty())
        text += QStringLiteral(" - ") + detected.description;
    if (!detected.manufacturer.isEmpty())
        text += detected.description.isEmpty() ? QStringLiteral(" - ") + detected.manufacturer
                                               : QStringLiteral(" (%1)").arg(detected.manufacturer);
    return text;
}
} // namespace

PortList::PortList(const SerialPort& port, QWidget* parent) : QComboBox(parent), m_port(port) {
    // Long device descriptions widen the open list, not the window.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    addItems({QStringLiteral("1"), QStringLiteral("2")});
    refill();
    // A typed path is never completed in place to a listed device: the items that start
    // with the typed text are offered below the box, and taken only when picked. Matching
    // is case-sensitive, so that Enter selects an item only for its full text.
    setEditable(true);
    auto* offers = new QCompleter(model(), this);
    offers->setCompletionMode(QCompleter::PopupCompletion);
    offers->setCaseSensitivity(Qt::CaseSensitive);
    setCompleter(offers);
}

void PortList::showPopup() {
    refill();
    QComboBox::showPopup();
}

void PortList::refill() {
    const QString shown = currentText();
    while (count() > numberedPorts)
        removeItem(count() - 1);
    for (const DetectedPort& detected : m_port.detectedPorts())
        addItem(describedDevice(detected), detected.device);
    const int index = findText(shown);
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(shown);
}
