#pragma once
// The bounded buffer between libcurl's callbacks and a caller that pulls data in pieces of its
// own size. libcurl is paused while the buffer is above the high-water mark and resumed once
// it falls below the low one; a few megabytes keep loopback transfers at full speed while the
// memory used does not grow with the file.

#include <cstddef>
#include <string_view>
#include <vector>

namespace tollen {

class PullBuffer
{
public:
    static constexpr std::size_t kHighWater = 8 * 1024 * 1024;
    static constexpr std::size_t kLowWater = 4 * 1024 * 1024;

    std::size_t size() const { return m_data.size() - m_head; }
    bool full() const { return size() >= kHighWater; }
    bool low() const { return size() < kLowWater; }
    std::string_view view() const { return {m_data.data() + m_head, size()}; }

    void append(const char *data, std::size_t count);
    /// Moves up to `count` bytes out; returns how many.
    std::size_t take(char *out, std::size_t count);
    void clear();

private:
    std::vector<char> m_data;
    std::size_t m_head = 0;
};

} // namespace tollen
