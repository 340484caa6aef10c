#include "transfer/FtpPassiveReply.h"

#include "transfer/FtpUrl.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(FtpPassiveReply, PortComesFromTheLastTwoNumbersOfA227Reply)
{
    for (const auto &[reply, port] : std::vector<std::pair<std::string, int>>{
             {"227 Entering Passive Mode (127,0,0,1,195,80).", 195 * 256 + 80},
             {"227 Entering Passive Mode 127,0,0,1,4,1", 1025},
             {"227 =10,1,2,3,0,21", 21},
             {"227 Entering Passive Mode (127,0,0,1,0,0).", 0},
             {"227 Entering Passive Mode (127,0,0,1,256,1).", 0},
             {"227 Entering Passive Mode (127,0,0,1,1).", 0},
             {"227 Entering Passive Mode (127,0,0,1,1,99999999999999999999).", 0},
             {"229 Entering Extended Passive Mode (|||6446|)", 0},
             {"550 No.", 0},
             {"", 0}}) {
        const auto found = passiveReplyPort(reply);
        EXPECT_EQ(found.value_or(0), port) << reply;
    }
}

TEST(FtpServerName, HostAndPortAreSplitAsTheConnectionCallsTakeThem)
{
    struct Row
    {
        const char *server;
        const char *host; // empty: refused
        int port;
    };
    for (const Row &row :
         {Row{"127.0.0.1", "127.0.0.1", 0}, Row{"ftp://h.example:2121/x", "h.example", 2121},
          Row{"ftps://[::1]:990", "::1", 990}, Row{"[::1]", "::1", 0}, Row{"h:0", "", 0},
          Row{"h:65536", "", 0}, Row{"h:", "", 0}, Row{"h:1x", "", 0}, Row{"[::1", "", 0},
          Row{"::1", "", 0}, Row{"[]:21", "", 0}, Row{"h:21:22", "", 0}}) {
        const auto address = ftpServerAddress(row.server);
        EXPECT_EQ(address ? address->host : "", row.host) << row.server;
        EXPECT_EQ(address ? address->port : 0, row.port) << row.server;
    }
}

} // namespace
} // namespace tollen::transfer
