#include "transfer/FtpPassiveReply.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(FtpPassiveReply, PortComesFromTheLastTwoNumbersOfA227Reply)
{
    for (const auto &[reply, port] : std::vector<std::pair<std::string, int>>{
             {"227 Entering Passive Mode (127,0,0,1,195,80).", 195 * 256 + 80},
             {"227 Entering Passive Mode 127,0,0,1,4,1", 1025},
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

} // namespace
} // namespace tollen::transfer
