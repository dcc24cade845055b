// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/RunCoordinator.h"

#include <QMetaObject>

#include <algorithm>
#include <utility>

RunCoordinator::RunCoordinator(std::function<void(Press)> carryOut, QObject* parent)
    : QObject(parent), m_carryOut(std::move(carryOut)) {}

bool RunCoordinator::deferWhileBusy(Press press) {
    if (m_busyDepth == 0)
        return false;
    if (std::find(m_waiting.begin(), m_waiting.end(), press) == m_waiting.end())
        m_waiting.push_back(press);
    return true;
}

void RunCoordinator::endBusy() {
    if (--m_busyDepth > 0 || m_waiting.empty())
        return;
    if (std::find(m_waiting.begin(), m_waiting.end(), Press::Leave) != m_waiting.end()) {
        m_carryOut(Press::Leave);
        return;
    }
    QMetaObject::invokeMethod(this, &RunCoordinator::carryOutWaitingPresses, Qt::QueuedConnection);
}

void RunCoordinator::carryOutWaitingPresses() {
    const std::vector<Press> presses = std::exchange(m_waiting, {});
    for (std::size_t i = 0; i < presses.size(); ++i) {
        if (m_closing)
            return;
        if (m_busyDepth > 0) {
            // Something new started meanwhile: the rest waits for it in turn.
            m_waiting.insert(m_waiting.end(), presses.begin() + static_cast<long>(i),
                             presses.end());
            return;
        }
        m_carryOut(presses[i]);
        if (presses[i] == Press::Leave)
            return;
    }
}
