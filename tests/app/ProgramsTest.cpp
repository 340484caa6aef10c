#include "ChildProcess.h"
#include "TestServers.h"
#include "app/CommandTail.h"

#include <gtest/gtest.h>
#include <sstream>

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
        EXPECT_EQ(app::commandTail(static_cast<int>(row.argv.size()), row.argv.data()), row.tail);
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

TEST(CommandLineProgram, PrintsOneTabSeparatedLinePerDeviceAndEndsWithZero)
{
    // A copy of its own, so that nothing beside the build's program is read or written.
    TemporaryFolder folder;
    const auto program = folder.path() / "tollen-cli";
    std::filesystem::copy_file(TOLLEN_CLI_PROGRAM, program);
    const auto output = folder.path() / "devices.txt";
    const auto code = runToEnd({{program.string(), "devices", "--format", "tsv"},
                                {{"HOME", folder.path().string()}},
                                folder.path(),
                                output,
                                {}},
                               30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    std::istringstream lines(readFile(output));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_NE(line.find('\t'), std::string::npos) << line;
    }
}

} // namespace
} // namespace tollen::testing
