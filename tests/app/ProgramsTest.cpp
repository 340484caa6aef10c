#include "ChildProcess.h"
#include "TestServers.h"
#include "cli/CommandTail.h"

#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

using namespace std::chrono_literals;

TEST(CommandTail, JoinsTheArgumentsWithSingleSpaces)
{
    struct Row
    {
        std::vector<const char *> argv;
        std::string tail;
    };
    const Row rows[] = {
        {{"tollen"}, ""},
        {{"tollen", "/home/me/office pc.hwp"}, "/home/me/office pc.hwp"},
        {{"tollen", "/home/me/office", "pc.hwp"}, "/home/me/office pc.hwp"},
        {{"tollen", "", "x"}, " x"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(cli::commandTail(static_cast<int>(row.argv.size()), row.argv.data()), row.tail);
    }
}

TEST(WindowedProgram, WithoutADisplaySaysHowToRunIt)
{
    TemporaryFolder home;
    const auto errors = home.path() / "errors.txt";
    const auto code = runToEnd({{TOLLEN_GUI_PROGRAM},
                                {{"DISPLAY", std::nullopt},
                                 {"WAYLAND_DISPLAY", std::nullopt},
                                 {"QT_QPA_PLATFORM", std::nullopt},
                                 {"HOME", home.path().string()}},
                                home.path(),
                                {},
                                errors},
                               10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0);
    EXPECT_NE(readFile(errors).find("xvfb-run -a"), std::string::npos) << readFile(errors);
}

} // namespace
} // namespace tollen::testing
