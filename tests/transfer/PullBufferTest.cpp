#include "transfer/PullBuffer.h"

#include "TestServers.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

// A reader that lags behind libcurl: the bytes held run past the end of the ring and go on at
// its start, and still come out, or are shown, in the order they went in.
TEST(PullBuffer, KeepsTheOrderOfTheBytesAcrossTheEndOfTheRing)
{
    const std::string data = testing::patternBytes(4'000'000);
    PullBuffer buffer;
    std::string out(4'000'000, '\0');
    buffer.append(data.data(), 2'000'000);
    ASSERT_EQ(buffer.take(out.data(), 1'500'000), 1'500'000u);
    buffer.append(data.data() + 2'000'000, 2'000'000);
    EXPECT_TRUE(buffer.contents() == data.substr(1'500'000));
    ASSERT_EQ(buffer.take(out.data() + 1'500'000, 3'000'000), 2'500'000u);
    EXPECT_TRUE(out == data);
    EXPECT_EQ(buffer.size(), 0u);
}

} // namespace
} // namespace tollen::transfer
