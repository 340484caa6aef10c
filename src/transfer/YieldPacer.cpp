#include "transfer/YieldPacer.h"

namespace tollen::transfer {
namespace {

constexpr unsigned kLongestStride = 32;

} // namespace

bool YieldPacer::due()
{
    if (--m_untilReading > 0) {
        return false;
    }
    const Clock::time_point now = Clock::now();
    const Clock::duration sinceReading = m_lastReading ? now - *m_lastReading : m_interval;
    m_lastReading = now;
    // Aim at several readings per interval: a stride that took a long time is cut back to a
    // reading per call at once, one that took very little is doubled.
    if (sinceReading >= m_interval / 4) {
        m_stride = 1;
    } else if (sinceReading < m_interval / 32 && m_stride < kLongestStride) {
        m_stride *= 2;
    }
    m_untilReading = m_stride;
    if (m_lastYield && now - *m_lastYield < m_interval) {
        return false;
    }
    m_lastYield = now;
    return true;
}

} // namespace tollen::transfer
