// SPDX-License-Identifier: GPL-3.0-or-later
#include "Simulator.h"

#include "TextEscapes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <random>
#include <system_error>
#include <unistd.h>

namespace lcrsim {

namespace {

Identity identityFrom(const Options& options) {
    Identity identity = defaultIdentity(options.dialect);
    identity.maker = options.maker.value_or(identity.maker);
    identity.model = options.model.value_or(identity.model);
    identity.serial = options.serial.value_or(identity.serial);
    identity.firmware = options.firmware.value_or(identity.firmware);
    return identity;
}

Component componentFrom(const Options& options) {
    Component component = defaultComponent(options.component);
    component.resistance = options.resistance.value_or(component.resistance);
    component.inductance = options.inductance.value_or(component.inductance);
    component.capacitance = options.capacitance.value_or(component.capacitance);
    component.shuntCapacitance = options.shuntCapacitance.value_or(component.shuntCapacitance);
    return component;
}

MeasurementNoise noiseFrom(const Options& options) {
    return {options.noisePercent, options.noiseSeed ? *options.noiseSeed : std::random_device{}()};
}

ReplyOverrides overridesFrom(const Options& options) {
    ReplyOverrides overrides;
    if (options.silent)
        overrides.silenceAll();
    for (const std::string& command : options.silentFor)
        overrides.silence(command);
    for (const auto& [command, text] : options.answers)
        overrides.answer(command, text);
    for (const auto& [command, ms] : options.delays)
        overrides.delay(command, std::chrono::milliseconds(ms));
    for (const Options::Stall& stall : options.stalls)
        overrides.stallFirst(stall.command, stall.bytes, std::chrono::milliseconds(stall.ms));
    return overrides;
}

// Short, one-line form of a reply for the trace; replies can be megabytes long.
std::string traceable(const std::string& bytes) {
    constexpr std::size_t shown = 120;
    if (bytes.size() <= shown)
        return escapeNonPrintable(bytes);
    return escapeNonPrintable(bytes.substr(0, shown)) + "... (" + std::to_string(bytes.size()) +
           " bytes)";
}

int millisecondsUntil(Clock::time_point when, Clock::time_point now) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return static_cast<int>(std::max<decltype(wait)>(wait, 0));
}

} // namespace

Simulator::Simulator(Options options)
    : m_options(std::move(options)),
      m_instrument(m_options.dialect, identityFrom(m_options), componentFrom(m_options),
                   m_options.lineEnd, noiseFrom(m_options), m_options.voltageCoefficients),
      m_overrides(overridesFrom(m_options)),
      m_replies(std::chrono::milliseconds(m_options.delayMs), m_options.splitBytes,
                std::chrono::milliseconds(m_options.gapMs)),
      m_link(m_options.linkPath) {
    if (!m_options.logPath.empty())
        m_log.emplace(m_options.logPath);
}

int Simulator::run() {
    try {
        openLine();
    } catch (const std::exception& error) {
        std::cerr << "lcrsim: " << error.what() << '\n';
        return 1;
    }
    saveState();

    while (!m_stopping) {
        pollfd fds[2] = {{m_signals.fd(), POLLIN, 0}, {-1, 0, 0}};
        nfds_t count = 1;
        const Clock::time_point before = Clock::now();
        if (m_line) {
            const bool writing = !m_replies.due(before).empty();
            fds[1] = {m_line->fd(), static_cast<short>(POLLIN | (writing ? POLLOUT : 0)), 0};
            count = 2;
        }
        if (::poll(fds, count, pollTimeoutMs(before)) < 0) {
            if (errno == EINTR)
                continue;
            std::cerr << "lcrsim: poll: " << std::strerror(errno) << '\n';
            return 1;
        }
        if (fds[0].revents != 0 && m_signals.consume())
            break;

        if (m_line && (fds[1].revents & POLLIN))
            receive();
        else if (m_line && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)))
            closeLine("the device hung up");

        const Clock::time_point now = Clock::now();
        if (m_line)
            transmit(now);
        if (m_line && m_cutAt && now >= *m_cutAt)
            cutLine("cut after " + std::to_string(m_options.cutEveryMs) + " ms", now);
        if (m_reopenAt && now >= *m_reopenAt) {
            m_reopenAt.reset();
            try {
                openLine();
            } catch (const std::exception& error) {
                std::cerr << "lcrsim: reopening the line: " << error.what() << '\n';
                return 1;
            }
        }
    }

    if (m_log && !m_framer.unterminated().empty())
        m_log->recordUnterminated(m_framer.unterminated());
    if (m_options.dumpState)
        std::cerr << renderState(m_instrument.state(), m_instrument.dialect());
    return 0;
}

void Simulator::openLine() {
    m_line = m_options.devicePath.empty()
                 ? SerialLine::createPseudoTerminal()
                 : SerialLine::openDevice(m_options.devicePath, m_options.baud);
    m_link.pointAt(m_line->path());
    // Leftover bytes go out before the path is announced, so they are already waiting
    // when the panel opens the port.
    if (!m_leftoverSent && !m_options.leftover.empty()) {
        m_replies.pushImmediate(m_options.leftover, Clock::now());
        transmit(Clock::now());
    }
    m_leftoverSent = true;
    std::printf("%s\n", m_line->path().c_str());
    std::fflush(stdout);
    trace("line open at " + m_line->path());
    if (m_options.cutEveryMs > 0)
        m_cutAt = Clock::now() + std::chrono::milliseconds(m_options.cutEveryMs);
}

void Simulator::closeLine(const std::string& why) {
    if (m_log && !m_framer.unterminated().empty())
        m_log->recordUnterminated(m_framer.unterminated());
    m_framer.clear();
    m_replies.clear();
    m_line.reset();
    m_cutAt.reset();
    m_link.remove();
    std::cerr << "lcrsim: line closed: " << why << '\n';
}

void Simulator::cutLine(const std::string& why, Clock::time_point now) {
    closeLine(why);
    if (m_options.exitAfterClose)
        m_stopping = true;
    else if (m_options.reopenAfterMs >= 0)
        m_reopenAt = now + std::chrono::milliseconds(m_options.reopenAfterMs);
}

void Simulator::receive() {
    char buffer[4096];
    const ssize_t count = ::read(m_line->fd(), buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count <= 0) {
        closeLine(count == 0 ? "end of input" : std::string("read: ") + std::strerror(errno));
        return;
    }
    const Clock::time_point now = Clock::now();
    for (const ReceivedCommand& command :
         m_framer.feed(std::string_view(buffer, static_cast<std::size_t>(count)))) {
        handle(command, now);
        if (!m_line)
            return; // the rest of the input went with the line
    }
}

void Simulator::handle(const ReceivedCommand& command, Clock::time_point now) {
    if (m_log)
        m_log->record(command);
    trace("rx " + CommandLog::lineFor(command));
    if (trimBlanks(command.text).empty())
        return;

    const ParsedCommand parsed = parseCommand(m_options.dialect, command.text);
    const CommandOutcome outcome = m_instrument.execute(parsed);
    if (outcome.verdict == CommandVerdict::Unknown)
        trace("unknown command \"" + escapeNonPrintable(command.text) + "\" accepted");
    else if (outcome.verdict == CommandVerdict::Rejected)
        trace("ignored \"" + escapeNonPrintable(command.text) + "\": " + outcome.reason);
    saveState();

    ++m_nonEmptyCommands;
    if (!m_closeFaultFired && m_options.closeAfter > 0 &&
        m_nonEmptyCommands == static_cast<unsigned long>(m_options.closeAfter)) {
        m_closeFaultFired = true;
        cutLine("closed after " + std::to_string(m_nonEmptyCommands) + " commands", now);
        return;
    }

    const auto reply = m_overrides.replyFor(parsed, outcome.reply);
    if (reply) {
        const auto delay =
            m_overrides.delayFor(parsed).value_or(std::chrono::milliseconds(m_options.delayMs));
        const auto stall = m_overrides.takeStall(parsed);
        if (stall && stall->bytes < reply->size()) {
            m_replies.push(reply->substr(0, stall->bytes), now, delay);
            m_replies.push(reply->substr(stall->bytes), now, delay + stall->rest);
        } else {
            m_replies.push(*reply, now, delay);
        }
        trace("tx " + traceable(*reply));
    } else if (outcome.reply) {
        trace("reply withheld");
    }
}

void Simulator::transmit(Clock::time_point now) {
    for (std::string_view bytes = m_replies.due(now); !bytes.empty(); bytes = m_replies.due(now)) {
        const ssize_t written = ::write(m_line->fd(), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno != EAGAIN && errno != EINTR)
                closeLine(std::string("write: ") + std::strerror(errno));
            return;
        }
        m_replies.consume(static_cast<std::size_t>(written));
        if (static_cast<std::size_t>(written) < bytes.size())
            return; // the line is full; poll() says when it drains
    }
}

int Simulator::pollTimeoutMs(Clock::time_point now) const {
    std::optional<Clock::time_point> wake = m_replies.nextDueTime(now);
    for (const std::optional<Clock::time_point>& timer : {m_reopenAt, m_cutAt})
        if (timer && (!wake || *timer < *wake))
            wake = timer;
    return wake ? millisecondsUntil(*wake, now) : -1;
}

void Simulator::saveState() const {
    if (m_options.stateFilePath.empty())
        return;
    // Written beside and renamed over, so a reader never sees half a file.
    const std::string temporary = m_options.stateFilePath + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << renderState(m_instrument.state(), m_instrument.dialect());
        if (!file)
            return;
    }
    std::rename(temporary.c_str(), m_options.stateFilePath.c_str());
}

void Simulator::trace(const std::string& message) const {
    if (m_options.verbose)
        std::cerr << "lcrsim: " << message << '\n';
}

} // namespace lcrsim
