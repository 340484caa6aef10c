#include "transfer/HttpRange.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(HttpRange, OnlyTheAnswerOfThePartAskedForIsTakenAndAWholeFileStartsAtZero)
{
    for (const auto &[range, start] : std::vector<std::pair<std::string, std::int64_t>>{
             {"", 1000},                 // a 200: the file again, not its rest
             {"bytes 0-999/5000", 1000}, // another part
             {"bytes 0-5000/5000", 0},   // past the end of the file
             {"bytes 0-999/*", 0},       // a file of unknown size
             {"bytes 9-0/5000", 0},      // no bytes
             {"items 0-999/5000", 0},    // another unit
             {"bytes 0-999", 0},         // no size
         }) {
        const std::string header = range.empty()
                                       ? "HTTP/1.1 200 OK\r\n\r\n"
                                       : "HTTP/1.1 206 P\r\nContent-Range: " + range + "\r\n\r\n";
        EXPECT_FALSE(answeredPart(header, start)) << range << " from " << start;
    }
    const auto part =
        answeredPart("HTTP/1.1 206 P\r\nContent-Range: bytes 1000-1999/5000\r\n\r\n", 1000);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->first, 1000);
    EXPECT_EQ(part->length, 1000);
    EXPECT_TRUE(part->endsEarly());
    // A 200 to a request from the start is the whole file, from its first byte.
    const auto whole = answeredPart("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n", 0);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->first, 0);
    EXPECT_EQ(whole->fileSize, 5000);
    EXPECT_FALSE(whole->endsEarly());
}

} // namespace
} // namespace tollen::transfer
