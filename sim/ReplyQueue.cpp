// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplyQueue.h"

#include <algorithm>

namespace lcrsim {

ReplyQueue::ReplyQueue(std::chrono::milliseconds delay, std::size_t pieceSize,
                       std::chrono::milliseconds gap)
    : m_delay(delay), m_pieceSize(pieceSize), m_gap(gap) {}

Clock::time_point ReplyQueue::notBefore(Clock::time_point wanted) const {
    // A reply never overtakes the one before it.
    return m_pieces.empty() ? wanted : std::max(wanted, m_pieces.back().due);
}

void ReplyQueue::push(const std::string& reply, Clock::time_point now,
                      std::optional<std::chrono::milliseconds> delay) {
    if (reply.empty())
        return;
    Clock::time_point due = notBefore(now + delay.value_or(m_delay));
    const std::size_t pieceSize = m_pieceSize == 0 ? reply.size() : m_pieceSize;
    for (std::size_t offset = 0; offset < reply.size(); offset += pieceSize) {
        m_pieces.push_back({reply.substr(offset, pieceSize), due, 0});
        due += m_gap;
    }
}

void ReplyQueue::pushImmediate(const std::string& bytes, Clock::time_point now) {
    if (!bytes.empty())
        m_pieces.push_back({bytes, notBefore(now), 0});
}

std::string_view ReplyQueue::due(Clock::time_point now) const {
    if (m_pieces.empty() || m_pieces.front().due > now)
        return {};
    const Piece& front = m_pieces.front();
    return std::string_view(front.bytes).substr(front.written);
}

void ReplyQueue::consume(std::size_t count) {
    if (m_pieces.empty())
        return;
    Piece& front = m_pieces.front();
    front.written = std::min(front.bytes.size(), front.written + count);
    if (front.written == front.bytes.size())
        m_pieces.pop_front();
}

std::optional<Clock::time_point> ReplyQueue::nextDueTime(Clock::time_point now) const {
    if (m_pieces.empty() || m_pieces.front().due <= now)
        return std::nullopt;
    return m_pieces.front().due;
}

} // namespace lcrsim
