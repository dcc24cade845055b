// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <vector>

// One instrument conversation at a time in the Results window. While a run (or the
// identification query of Config) is under way, presses of Start, Config, Lockout and
// Exit and a title-bar close wait until it has ended, and are then carried out in the
// order they came, each once.
class RunCoordinator : public QObject {
    Q_OBJECT
public:
    enum class Press { Start, Config, Lockout, Leave };

    // carryOut performs a press that waited; leave is a Leave press.
    explicit RunCoordinator(std::function<void(Press)> carryOut, QObject* parent = nullptr);

    // True when a conversation is under way: the press is queued (once) and must not run now.
    bool deferWhileBusy(Press press);
    bool busy() const { return m_busyDepth > 0; }
    void beginBusy() { ++m_busyDepth; }
    // The conversation ended: a waiting Leave is carried out at once, other presses from
    // the event loop, each as if it had just been made.
    void endBusy();

    // A measurement run is executing.
    bool runActive() const { return m_runActive; }
    void setRunActive(bool active) { m_runActive = active; }

    // The program is exiting: waiting presses are no longer carried out, except a Leave
    // when the conversation ends.
    void stopCarryingOut() { m_closing = true; }
    // The window is leaving: presses still waiting are dropped.
    void dropWaitingPresses() {
        m_closing = true;
        m_waiting.clear();
    }

private:
    void carryOutWaitingPresses();

    std::function<void(Press)> m_carryOut;
    int m_busyDepth = 0;
    std::vector<Press> m_waiting;
    bool m_runActive = false;
    bool m_closing = false;
};
