#include "transfer/YieldPacer.h"

#include <gtest/gtest.h>
#include <thread>

namespace tollen::transfer {
namespace {

using namespace std::chrono_literals;

TEST(YieldPacer, YieldsOncePerIntervalOrAtEveryCallWithoutOneAndAfterAPauseWithinAStride)
{
    YieldPacer hourly(1h);
    EXPECT_TRUE(hourly.due());
    for (int call = 0; call < 10000; ++call) {
        ASSERT_FALSE(hourly.due()) << call;
    }
    YieldPacer eager(0ms);
    for (int call = 0; call < 1000; ++call) {
        ASSERT_TRUE(eager.due()) << call;
    }
    YieldPacer pacer(1ms);
    // A fast run of calls lengthens the stride between clock readings.
    for (int call = 0; call < 100000; ++call) {
        pacer.due();
    }
    std::this_thread::sleep_for(2ms);
    int calls = 1;
    while (!pacer.due()) {
        ++calls;
    }
    EXPECT_LE(calls, 32);
    // That slow reading cut the stride back: after the next pause the first call yields.
    std::this_thread::sleep_for(2ms);
    EXPECT_TRUE(pacer.due());
}

} // namespace
} // namespace tollen::transfer
