#include "transfer/PullBuffer.h"

#include <algorithm>
#include <cstring>

namespace tollen::transfer {
namespace {

// Room above the high-water mark for the one callback that crosses it (libcurl hands over at
// most its receive buffer at a time).
constexpr std::size_t kInitialCapacity = PullBuffer::kHighWater + 1024 * 1024;

} // namespace

void PullBuffer::grow(std::size_t needed)
{
    const std::size_t capacity = std::max({needed, m_capacity * 2, kInitialCapacity});
    std::unique_ptr<char[]> larger(new char[capacity]);
    const std::size_t held = m_size;
    take(larger.get(), held); // in order from the start; leaves the ring empty
    m_ring = std::move(larger);
    m_capacity = capacity;
    m_head = 0;
    m_size = held;
}

void PullBuffer::append(const char *data, std::size_t count)
{
    if (count == 0) {
        return;
    }
    if (m_size + count > m_capacity) {
        grow(m_size + count);
    }
    std::size_t tail = m_head + m_size;
    if (tail >= m_capacity) {
        tail -= m_capacity;
    }
    const std::size_t first = std::min(count, m_capacity - tail);
    std::memcpy(m_ring.get() + tail, data, first);
    std::memcpy(m_ring.get(), data + first, count - first);
    m_size += count;
}

std::size_t PullBuffer::take(char *out, std::size_t count)
{
    const std::size_t taken = std::min(count, m_size);
    if (taken == 0) {
        return 0;
    }
    const std::size_t first = std::min(taken, m_capacity - m_head);
    std::memcpy(out, m_ring.get() + m_head, first);
    std::memcpy(out + first, m_ring.get(), taken - first);
    drop(taken);
    return taken;
}

std::string_view PullBuffer::front(std::size_t count) const
{
    return m_size == 0 ? std::string_view()
                       : std::string_view(m_ring.get() + m_head,
                                          std::min({count, m_size, m_capacity - m_head}));
}

void PullBuffer::drop(std::size_t count)
{
    const std::size_t dropped = std::min(count, m_size);
    m_size -= dropped;
    m_head = m_size == 0 ? 0 : m_head + dropped;
    if (m_head >= m_capacity) {
        m_head -= m_capacity;
    }
}

std::string PullBuffer::contents() const
{
    if (m_size == 0) {
        return {};
    }
    std::string all(m_size, '\0');
    const std::size_t first = std::min(m_size, m_capacity - m_head);
    std::memcpy(all.data(), m_ring.get() + m_head, first);
    std::memcpy(all.data() + first, m_ring.get(), m_size - first);
    return all;
}

void PullBuffer::clear()
{
    m_head = 0;
    m_size = 0;
}

} // namespace tollen::transfer
