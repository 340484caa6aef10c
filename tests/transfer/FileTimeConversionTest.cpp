#include "transfer/cFTP.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tollen::transfer {
namespace {

// 1970-01-01 00:00 and 12:00 UTC as file times (100 ns since 1601).
constexpr std::int64_t kUnixEpoch = 116444736000000000;
constexpr std::int64_t kUnixEpochNoon = kUnixEpoch + 43200LL * 10000000;

// Linux takes the zone from TZ; Windows from the system's settings, which a test cannot change.
TEST(FileTimeConversion, GivesLocalDaysSince1899)
{
    // The zone is put back as it was, so later tests see the machine's own.
    const char *zone = std::getenv("TZ");
    const std::optional<std::string> savedZone =
        zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
    setenv("TZ", "UTC", 1);
    tzset();
    // 1899-12-30 00:00 is day 0, 1970-01-01 day 25569, noon adds a half.
    EXPECT_DOUBLE_EQ(cFTP::ConvertFileTime(kUnixEpoch).days, 25569.0);
    EXPECT_DOUBLE_EQ(cFTP::ConvertFileTime(kUnixEpochNoon).days, 25569.5);
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_DOUBLE_EQ(cFTP::ConvertFileTime(kUnixEpoch).days, 25569.0 + 1.0 / 24.0);
    savedZone ? setenv("TZ", savedZone->c_str(), 1) : unsetenv("TZ");
    tzset();
}

} // namespace
} // namespace tollen::transfer
