#include "transfer/LocalFileTime.h"

#include <windows.h>

namespace tollen::transfer {

std::int64_t localFileTime(std::int64_t fileTime)
{
    if (fileTime < 0) {
        return fileTime;
    }
    const auto bits = static_cast<std::uint64_t>(fileTime);
    const FILETIME utc{static_cast<DWORD>(bits & 0xFFFFFFFFu), static_cast<DWORD>(bits >> 32)};
    SYSTEMTIME utcParts{};
    SYSTEMTIME localParts{};
    FILETIME local{};
    // The zone's rule for that date, not today's offset, as the Linux build does too.
    if (!FileTimeToSystemTime(&utc, &utcParts) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &localParts) ||
        !SystemTimeToFileTime(&localParts, &local)) {
        return fileTime;
    }
    // The parts hold milliseconds: the intervals below them come back from the UTC time.
    constexpr std::int64_t kIntervalsPerMillisecond = 10000;
    const auto localTime = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime);
    return localTime + fileTime % kIntervalsPerMillisecond;
}

} // namespace tollen::transfer
