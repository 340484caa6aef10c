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

// A reader that looks at the bytes where they lie: a piece stops at the end of the ring and the
// next goes on at its start.
TEST(PullBuffer, ShowsTheBytesInPlaceUpToTheEndOfTheRing)
{
    const std::string data = testing::patternBytes(4'000'000);
    PullBuffer buffer;
    buffer.append(data.data(), 2'000'000);
    buffer.drop(1'500'000);
    buffer.append(data.data() + 2'000'000, 2'000'000);
    std::string shown;
    bool stoppedShort = false;
    while (buffer.size() != 0) {
        const std::string_view piece = buffer.front(1'000'000);
        stoppedShort = stoppedShort || (piece.size() < 1'000'000 && piece.size() < buffer.size());
        shown += piece;
        buffer.drop(piece.size());
    }
    EXPECT_TRUE(stoppedShort);
    EXPECT_TRUE(shown == data.substr(1'500'000));
    EXPECT_TRUE(buffer.front(10).empty());
}

} // namespace
} // namespace tollen::transfer
