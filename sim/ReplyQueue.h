// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace lcrsim {

using Clock = std::chrono::steady_clock;

// Replies waiting to go out, each cut into timed pieces. Pieces leave strictly in
// order; a piece is due at its time, so the event loop can keep receiving commands
// while a delayed or split reply is pending.
class ReplyQueue {
public:
    // delay: before each reply; pieceSize 0 sends a reply whole, otherwise in pieces of
    // that many bytes, gap apart.
    ReplyQueue(std::chrono::milliseconds delay, std::size_t pieceSize,
               std::chrono::milliseconds gap);

    // delay, when given, replaces the queue's own for this reply.
    void push(const std::string& reply, Clock::time_point now,
              std::optional<std::chrono::milliseconds> delay = std::nullopt);
    // Bytes that go out as they are, with no delay or splitting.
    void pushImmediate(const std::string& bytes, Clock::time_point now);

    // The bytes that may be written now (empty when nothing is due).
    std::string_view due(Clock::time_point now) const;
    // Marks count bytes of the due piece as written.
    void consume(std::size_t count);
    // When the next piece that is not yet due becomes due.
    std::optional<Clock::time_point> nextDueTime(Clock::time_point now) const;

    bool empty() const { return m_pieces.empty(); }
    void clear() { m_pieces.clear(); }

private:
    struct Piece {
        std::string bytes;
        Clock::time_point due;
        // Bytes already written: a long reply goes out in many writes, and erasing each
        // written part from its front would move the rest every time.
        std::size_t written = 0;
    };

    Clock::time_point notBefore(Clock::time_point wanted) const;

    std::chrono::milliseconds m_delay;
    std::size_t m_pieceSize;
    std::chrono::milliseconds m_gap;
    std::deque<Piece> m_pieces;
};

} // namespace lcrsim
