#pragma once
// Decides when a transfer that works in small chunks should yield to the event loop: once the
// interval has passed since the last yield. Reading the clock costs more than moving a chunk
// from a buffer, so the clock is read only every few calls: more calls between readings while
// chunks come fast, a reading at every call again as soon as they come slowly.

#include <chrono>
#include <optional>

namespace tollen::transfer {

class YieldPacer
{
public:
    using Clock = std::chrono::steady_clock;

    explicit YieldPacer(Clock::duration interval) : m_interval(interval) {}

    /// True when a yield is due now; the caller then yields.
    bool due();

private:
    Clock::duration m_interval;
    /// Empty until the first yield and the first reading: the first call is always due, however
    /// close the clock is to its epoch.
    std::optional<Clock::time_point> m_lastYield;
    std::optional<Clock::time_point> m_lastReading;
    unsigned m_stride = 1; // calls from one clock reading to the next
    unsigned m_untilReading = 1;
};

} // namespace tollen::transfer
