#include "transfer/HttpHeaderValue.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(HttpHeaderValue, FirstLineOfTheNameWithoutTheBlanksAroundItsValue)
{
    struct Row
    {
        const char *header;
        const char *name;
        const char *value;
    };
    for (const Row &row : {
             Row{"HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n", "Content-Length", "3000"},
             // Tabs are white space around a value as spaces are: the length must still read.
             Row{"HTTP/1.1 200 OK\r\nContent-Length:\t12 \r\n\r\n", "Content-Length", "12"},
             Row{"HTTP/1.1 200 OK\r\nContent-Length \t: \t7\t\r\n", "content-length", "7"},
             Row{"HTTP/1.1 200 OK\r\nX: 1\r\nX: 2\r\n", "X", "1"},
             Row{"HTTP/1.1 200 OK\r\nContent-Length:\r\n", "Content-Length", ""},
             Row{"HTTP/1.1 200 OK\r\nLocation: http://127.0.0.1:8/a:b\r\n", "Location",
                 "http://127.0.0.1:8/a:b"},
             Row{"HTTP/1.1 200 OK\r\n", "Content-Length", ""},
         }) {
        EXPECT_EQ(httpHeaderValue(row.header, row.name), row.value) << row.header;
    }
}

} // namespace
} // namespace tollen::transfer
