#include "transfer/HttpRange.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

// Answers that hold the parts asked for are read in the transfer fault matrix and against nginx;
// these hold none.
TEST(HttpRange, AnswersWithoutThePartAskedForAreRefusedAndAWholeFileStartsAtZero)
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
    // A 200 to a request from the start is the whole file, from its first byte.
    const auto whole = answeredPart("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n", 0);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->first, 0);
    EXPECT_EQ(whole->fileSize, 5000);
    EXPECT_FALSE(whole->endsEarly());
}

} // namespace
} // namespace tollen::transfer
