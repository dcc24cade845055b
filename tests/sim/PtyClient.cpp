// SPDX-License-Identifier: GPL-3.0-or-later
#include "PtyClient.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyClient::PtyClient(const QString& path, Mode mode) {
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0 || mode == Mode::AsFound)
        return;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
}

PtyClient::~PtyClient() {
    close();
}

void PtyClient::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool PtyClient::send(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (m_fd >= 0 && sent < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + sent, bytes.size() - sent);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (n > 0)
            sent += n;
        else
            readOnce(10); // wait a little for room
    }
    return m_fd >= 0;
}

QByteArray PtyClient::readOnce(int timeoutMs) {
    if (m_fd < 0 || m_hungUp)
        return {};
    pollfd pfd{m_fd, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) <= 0)
        return {};
    char buffer[65536];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n > 0)
        return QByteArray(buffer, n);
    if (n == 0 || errno == EIO)
        m_hungUp = true;
    return {};
}

QByteArray PtyClient::take(qsizetype count) {
    const QByteArray taken = m_received.left(count);
    m_received.remove(0, taken.size());
    return taken;
}

QByteArray PtyClient::readLine(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!m_received.contains('\n') && !m_hungUp && timer.elapsed() < timeoutMs)
        m_received += readOnce(static_cast<int>(timeoutMs - timer.elapsed()));
    const qsizetype lineFeed = m_received.indexOf('\n');
    return take(lineFeed < 0 ? m_received.size() : lineFeed + 1);
}

QByteArray PtyClient::readBytes(qsizetype count, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (m_received.size() < count && !m_hungUp && timer.elapsed() < timeoutMs)
        m_received += readOnce(static_cast<int>(timeoutMs - timer.elapsed()));
    return take(count);
}

QByteArray PtyClient::readFor(int ms) {
    return readBytes(1 << 30, ms);
}

QList<QByteArray> PtyClient::readPiecesOfLine(int timeoutMs) {
    QList<QByteArray> pieces;
    if (!m_received.isEmpty())
        pieces.append(take(m_received.size()));
    QElapsedTimer timer;
    timer.start();
    while ((pieces.isEmpty() || !pieces.last().contains('\n')) && !m_hungUp &&
           timer.elapsed() < timeoutMs) {
        const QByteArray piece = readOnce(static_cast<int>(timeoutMs - timer.elapsed()));
        if (!piece.isEmpty())
            pieces.append(piece);
    }
    return pieces;
}

bool PtyClient::waitForHangUp(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!m_hungUp && timer.elapsed() < timeoutMs)
        readOnce(static_cast<int>(timeoutMs - timer.elapsed()));
    return m_hungUp;
}
