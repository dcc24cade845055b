// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The panel's side of the line, as plain POSIX calls: opens a terminal device, by default
// in raw mode, and reads with poll() under time limits.
class PtyClient {
public:
    enum class Mode { Raw, AsFound };

    explicit PtyClient(const QString& path, Mode mode = Mode::Raw);
    // Takes over an open descriptor, e.g. the master of a pseudo-terminal pair.
    explicit PtyClient(int adoptedFd) : m_fd(adoptedFd) {}
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void close();

    bool send(const QByteArray& bytes);
    // Reads up to and including the next line feed; what came when the time is up.
    QByteArray readLine(int timeoutMs);
    // Reads until count bytes came or the time is up.
    QByteArray readBytes(qsizetype count, int timeoutMs);
    // Everything that arrives within the time.
    QByteArray readFor(int ms);
    // Each read() result separately, until a line feed arrives or the time is up.
    QList<QByteArray> readPiecesOfLine(int timeoutMs);
    // True once read() reports the far end gone (0 bytes or EIO) within the time.
    bool waitForHangUp(int timeoutMs);

private:
    // One poll() and read(); empty on timeout. Sets m_hungUp when the far end is gone.
    QByteArray readOnce(int timeoutMs);
    // Moves the first count received bytes out of m_received.
    QByteArray take(qsizetype count);

    int m_fd = -1;
    bool m_hungUp = false;
    QByteArray m_received; // read from the line but not yet handed out
};
