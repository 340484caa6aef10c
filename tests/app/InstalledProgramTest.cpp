// The program as a user gets it: installed to a prefix of its own with the demo database as its
// host. The installed tollen-cli finds drivers there, and the installed window opens on a virtual
// screen after its splash, is photographed for the documentation, and closes cleanly when the
// session ends it.

#include "ChildProcess.h"
#include "TestServers.h"
#include "VirtualDisplay.h"

#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(InstalledProgram, FindsDriversInTheInstalledDemoDatabaseAndOpensItsWindow)
{
    TemporaryFolder folder;
    const fs::path prefix = folder.path() / "prefix";
    ASSERT_EQ(runToEnd({{TOLLEN_CMAKE_COMMAND, "--install", TOLLEN_BINARY_DIR, "--prefix",
                         prefix.string()},
                        {},
                        folder.path(),
                        folder.path() / "install.out",
                        folder.path() / "install.err"},
                       120s),
              0)
        << readFile(folder.path() / "install.err");
    // HTTP chosen, the installed demo database as the host.
    writeFile(prefix / "bin/sorrel.ini", "0\r\nfile://" +
                                             (prefix / "share/tollen/demo-db").string() +
                                             "\r\n\r\n/\r\nanonymous\r\n\r\n");
    const fs::path found = folder.path() / "found.tsv";
    EXPECT_EQ(runToEnd({{(prefix / "bin/tollen-cli").string(), "search", "PCI\\VEN_8086&DEV_100E",
                         "--format", "tsv"},
                        {{"HOME", folder.path().string()}, {"TEMP", folder.path().string()}},
                        folder.path(),
                        found,
                        folder.path() / "found.err"},
                       60s),
              0)
        << readFile(folder.path() / "found.err");
    EXPECT_NE(readFile(found).find("/network/pro1000.zip"), std::string::npos) << readFile(found);

    const VirtualDisplay display(folder.path());
    ASSERT_FALSE(display.name().empty()) << readFile(folder.path() / "xvfb.log");
    ChildProcess tollen(windowedProgram(prefix / "bin/tollen", display.name(), folder.path()));
    ASSERT_TRUE(tollen.started());
    // The main window's line of the window tree, empty while it is not shown. A slow machine
    // may show it at its first size before the minimum size of 514 x 500 pixels or more is
    // applied: the wait goes on until that size is reached.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (line.find("x500+") == std::string::npos && std::chrono::steady_clock::now() < deadline &&
           !tollen.wait(200ms)) {
        const std::string tree = windowTree(display.name(), folder.path());
        const std::size_t start = tree.find("\"Tollen v1.0\"");
        line = start == std::string::npos ? std::string()
                                          : tree.substr(start, tree.find('\n', start) - start);
    }
    ASSERT_NE(line.find("x500+"), std::string::npos)
        << line << "; the program said: " << readFile(folder.path() / "tollen.err");

    // Let the splash close and the window paint before the photograph.
    std::this_thread::sleep_for(500ms);
    const auto screenshots = fs::path(TOLLEN_BINARY_DIR) / "screenshots";
    fs::create_directories(screenshots);
    const auto screenshot = screenshots / "main-window.png";
    fs::remove(screenshot);
    EXPECT_EQ(
        runToEnd({{"import", "-display", display.name(), "-window", "root", screenshot.string()},
                  {},
                  folder.path(),
                  {},
                  {}},
                 20s),
        0);
    EXPECT_GT(fs::file_size(screenshot), 1000U);

    tollen.signal(SIGTERM);
    EXPECT_EQ(tollen.wait(10s), 0) << readFile(folder.path() / "tollen.err");
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
