#pragma once
// The bounded buffer between libcurl's callbacks and a caller that pulls data in pieces of its
// own size: a ring, so bytes are copied in once and out once. libcurl is paused while the
// buffer is above the high-water mark and resumed once it falls below the low one; a few
// megabytes keep loopback transfers at full speed while the memory used does not grow with the
// file. A listing, which is collected whole, makes the ring grow as needed.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tollen::transfer {

class PullBuffer
{
public:
    static constexpr std::size_t kHighWater = 2 * 1024 * 1024;
    static constexpr std::size_t kLowWater = 1024 * 1024;

    std::size_t size() const { return m_size; }
    bool full() const { return m_size >= kHighWater; }
    bool low() const { return m_size < kLowWater; }

    void append(const char *data, std::size_t count);
    /// Moves up to `count` bytes out; returns how many.
    std::size_t take(char *out, std::size_t count);
    /// Up to `count` of the bytes held, from the first on, where they lie in the ring (fewer
    /// where the ring wraps), without moving them: valid until the next change to the buffer.
    std::string_view front(std::size_t count) const;
    /// Forgets the first `count` bytes held (at most all of them).
    void drop(std::size_t count);
    /// Everything held, in order, without taking it.
    std::string contents() const;
    void clear();

private:
    void grow(std::size_t needed);

    std::unique_ptr<char[]> m_ring; // not initialised: only bytes appended are ever read
    std::size_t m_capacity = 0;
    std::size_t m_head = 0;
    std::size_t m_size = 0;
};

} // namespace tollen::transfer
