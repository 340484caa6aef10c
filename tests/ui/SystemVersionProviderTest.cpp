// The version of the system the tests run on: the NT family on Linux (whose device tree is given
// in the NT layout) and on Windows, which reports its real version there (Wine reports the
// version its prefix is set to, Windows 7 or later).

#include "ui/SystemVersionProvider.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

TEST(SystemVersionProvider, IsTheNtFamily)
{
    const auto version = SystemVersionProvider().query();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->platformId, 2u);
    // 0.0 on Linux; on Windows the real version, 6.0 (Vista) or later for every system served.
    EXPECT_TRUE(version->major == 0 || version->major >= 6) << version->major;
}

} // namespace
} // namespace tollen::ui
