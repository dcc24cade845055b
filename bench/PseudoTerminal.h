// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A raw pseudo-terminal pair: the benchmark plays the instrument on the master side while
// the panel's serial component opens the slave by its path.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    QString slavePath() const { return m_slavePath; }
    void write(const QByteArray& bytes);
    QByteArray readAvailable();

private:
    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up
    QString m_slavePath;
};
