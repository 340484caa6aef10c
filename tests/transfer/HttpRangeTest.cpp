#include "transfer/HttpRange.h"

#include <gtest/gtest.h>

namespace tollen {
namespace {

TEST(HttpRange, AnswerHoldsThePartItsStatusAndContentRangeName)
{
    struct Row
    {
        const char *header;
        std::int64_t start;
        HttpPart part;
        bool endsEarly;
    };
    for (const Row &row : {
             Row{"HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n",
                 0,
                 {0, std::nullopt, 3000},
                 false},
             Row{"HTTP/2 206\r\ncontent-range: bytes 0-999/5000\r\n\r\n", 0, {0, 1000, 5000}, true},
             Row{"HTTP/1.1 206 Partial\r\nContent-Range: bytes 1000-4999/5000\r\n\r\n",
                 1000,
                 {1000, 4000, 5000},
                 false},
         }) {
        const auto part = answeredPart(row.header, row.start);
        ASSERT_TRUE(part) << row.header;
        EXPECT_EQ(part->first, row.part.first) << row.header;
        EXPECT_EQ(part->length, row.part.length) << row.header;
        EXPECT_EQ(part->fileSize, row.part.fileSize) << row.header;
        EXPECT_EQ(part->endsEarly(), row.endsEarly) << row.header;
    }
    // The file again for its rest, a part not asked for, ranges outside a file of known size.
    for (const auto &[range, start] : std::vector<std::pair<std::string, std::int64_t>>{
             {"", 1000},
             {"bytes 0-999/5000", 1000},
             {"bytes 0-5000/5000", 0},
             {"bytes 0-999/*", 0},
             {"bytes 9-0/5000", 0},
             {"items 0-999/5000", 0},
             {"bytes 0-999", 0},
         }) {
        const std::string header = range.empty()
                                       ? "HTTP/1.1 200 OK\r\n\r\n"
                                       : "HTTP/1.1 206 P\r\nContent-Range: " + range + "\r\n\r\n";
        EXPECT_FALSE(answeredPart(header, start)) << range << " from " << start;
    }
    EXPECT_FALSE(answeredPart("HTTP/1.1 404 Not Found\r\n\r\n", 0));
}

} // namespace
} // namespace tollen
