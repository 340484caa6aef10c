#include "EnvironmentOverride.h"
#include "transfer/cFTP.h"

#include <ctime>
#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

// 1970-01-01 00:00 and 12:00 UTC as file times (100 ns since 1601).
constexpr std::int64_t kUnixEpoch = 116444736000000000;
constexpr std::int64_t kUnixEpochNoon = kUnixEpoch + 43200LL * 10000000;

// Linux takes the zone from TZ; Windows from the system's settings, which a test cannot change.
TEST(FileTimeConversion, GivesLocalDaysSince1899)
{
    testing::EnvironmentOverride zone("TZ", "UTC");
    tzset();
    // 1899-12-30 00:00 is day 0, 1970-01-01 day 25569, noon adds a half.
    EXPECT_DOUBLE_EQ(cFTP::ConvertFileTime(kUnixEpoch).days, 25569.0);
    EXPECT_DOUBLE_EQ(cFTP::ConvertFileTime(kUnixEpochNoon).days, 25569.5);
    zone.set("CET-1");
    tzset();
    EXPECT_DOUBLE_EQ(cFTP::ConvertFileTime(kUnixEpoch).days, 25569.0 + 1.0 / 24.0);
}

} // namespace
} // namespace tollen::transfer
