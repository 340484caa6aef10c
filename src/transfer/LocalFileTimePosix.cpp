#include "transfer/LocalFileTime.h"

#include <ctime>

namespace tollen::transfer {

std::int64_t localFileTime(std::int64_t fileTime)
{
    constexpr std::int64_t kIntervalsPerSecond = 10000000;
    constexpr std::int64_t kEpochDifference = 11644473600; // seconds, 1601 to 1970
    const auto unixSeconds =
        static_cast<std::time_t>(fileTime / kIntervalsPerSecond - kEpochDifference);
    std::tm local{};
    const std::int64_t offset = localtime_r(&unixSeconds, &local) != nullptr ? local.tm_gmtoff : 0;
    return fileTime + offset * kIntervalsPerSecond;
}

} // namespace tollen::transfer
