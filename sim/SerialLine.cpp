// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialLine.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <stdlib.h>
#include <system_error>
#include <termios.h>
#include <utility>

namespace lcrsim {

namespace {

[[noreturn]] void throwErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

constexpr std::array<std::pair<int, speed_t>, 8> baudRates{{
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
}};

// 8 data bits, no parity, no echo, no line editing, no translation of CR or LF.
void makeRaw(int fd, std::optional<speed_t> speed) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        throwErrno("tcgetattr");
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (speed && (::cfsetispeed(&tio, *speed) != 0 || ::cfsetospeed(&tio, *speed) != 0))
        throwErrno("cfsetspeed");
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        throwErrno("tcsetattr");
}

void makeNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        throwErrno("fcntl O_NONBLOCK");
}

} // namespace

SerialLine::SerialLine(UniqueFd io, UniqueFd keepAlive, std::string path)
    : m_io(std::move(io)), m_keepAlive(std::move(keepAlive)), m_path(std::move(path)) {}

SerialLine SerialLine::createPseudoTerminal() {
    UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY));
    if (!master.valid())
        throwErrno("posix_openpt");
    if (::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0)
        throwErrno("grantpt/unlockpt");
    const char* slaveName = ::ptsname(master.get());
    if (!slaveName)
        throwErrno("ptsname");
    std::string path = slaveName;

    UniqueFd slave(::open(path.c_str(), O_RDWR | O_NOCTTY));
    if (!slave.valid())
        throwErrno("open " + path);
    makeRaw(slave.get(), std::nullopt);
    makeNonBlocking(master.get());
    return SerialLine(std::move(master), std::move(slave), std::move(path));
}

SerialLine SerialLine::openDevice(const std::string& path, int baud) {
    UniqueFd device(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (!device.valid())
        throwErrno("open " + path);
    if (::isatty(device.get())) {
        std::optional<speed_t> speed;
        for (const auto& [rate, code] : baudRates)
            if (rate == baud)
                speed = code;
        makeRaw(device.get(), speed);
    }
    return SerialLine(std::move(device), UniqueFd(), path);
}

bool isSupportedBaud(int baud) {
    for (const auto& entry : baudRates)
        if (entry.first == baud)
            return true;
    return false;
}

} // namespace lcrsim
