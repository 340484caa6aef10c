#include "ChildProcess.h"
#include "TemporaryFolder.h"
#include "app/CommandTail.h"

#include <fstream>
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

TEST(CommandLineProgram, PrintsTheDevicesOfAProfileItOpensOneTabSeparatedLineEach)
{
    // A copy of its own with a fresh home, so that no settings file of the build or of the user
    // is read; the profile names the devices that must be printed whatever this machine holds.
    TemporaryFolder folder;
    const auto program = folder.path() / "tollen-cli";
    std::filesystem::copy_file(TOLLEN_CLI_PROGRAM, program);
    const auto profile = folder.path() / "office pc.hwp";
    std::ofstream(profile, std::ios::binary)
        << "pci\\ven_8086&dev_100e&subsys_002e8086&rev_02\r\nIntel 82540EM Gigabit\r\n"
           "USB\\VID_046D&PID_C52B\r\nUnifying Receiver\r\n";
    const auto output = folder.path() / "devices.txt";
    const auto code = runToEnd({{program.string(), profile.string()},
                                {{"HOME", folder.path().string()},
                                 {"XDG_CONFIG_HOME", (folder.path() / "config").string()}},
                                folder.path(),
                                output,
                                {}},
                               30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(readFile(output), "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02\tIntel 82540EM "
                                "Gigabit\nUSB\\VID_046D&PID_C52B\tUnifying Receiver\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "sorrel.ini"));
}

TEST(CommandLineProgram, AProfileThatCannotBeReadEndsWithAMessageAndACodeOtherThanZero)
{
    TemporaryFolder folder;
    const auto program = folder.path() / "tollen-cli";
    std::filesystem::copy_file(TOLLEN_CLI_PROGRAM, program);
    const auto errors = folder.path() / "errors.txt";
    const auto code = runToEnd({{program.string(), (folder.path() / "missing.hwp").string()},
                                {{"HOME", folder.path().string()},
                                 {"XDG_CONFIG_HOME", (folder.path() / "config").string()}},
                                folder.path(),
                                {},
                                errors},
                               30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0);
    EXPECT_NE(readFile(errors).find("Error loading specified profile"), std::string::npos)
        << readFile(errors);
}

} // namespace
} // namespace tollen::testing
