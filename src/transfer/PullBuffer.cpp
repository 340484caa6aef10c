#include "transfer/PullBuffer.h"

#include <algorithm>
#include <cstring>

namespace tollen {

void PullBuffer::append(const char *data, std::size_t count)
{
    m_data.insert(m_data.end(), data, data + count);
}

std::size_t PullBuffer::take(char *out, std::size_t count)
{
    const std::size_t taken = std::min(count, size());
    std::memcpy(out, m_data.data() + m_head, taken);
    m_head += taken;
    if (m_head == m_data.size()) {
        clear();
    } else if (m_head >= kLowWater) {
        // Dropping the consumed front now and then keeps the copying proportional to the data.
        m_data.erase(m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(m_head));
        m_head = 0;
    }
    return taken;
}

void PullBuffer::clear()
{
    m_data.clear();
    m_head = 0;
}

} // namespace tollen
