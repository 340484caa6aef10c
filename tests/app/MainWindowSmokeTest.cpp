// The real program on a real (virtual) screen: it starts on its splash, hands over to the main
// window, is photographed for the documentation, and closes cleanly when the session ends it.

#include "ChildProcess.h"
#include "TestServers.h"
#include "VirtualDisplay.h"

#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace tollen::testing {
namespace {

using namespace std::chrono_literals;

TEST(MainWindowOnScreen, OpensAfterTheSplashAndClosesWhenTheSessionEnds)
{
    TemporaryFolder folder;
    const VirtualDisplay display(folder.path());
    ASSERT_FALSE(display.name().empty()) << readFile(folder.path() / "xvfb.log");

    // A copy of its own with a fresh home: no settings file beside it, nothing left behind.
    const auto program = folder.path() / "tollen";
    std::filesystem::copy_file(TOLLEN_GUI_PROGRAM, program);
    ChildProcess tollen(windowedProgram(program, display.name(), folder.path()));
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
    ASSERT_FALSE(line.empty()) << "no main window; the program said: "
                               << readFile(folder.path() / "tollen.err")
                               << "the screen said: " << readFile(folder.path() / "xvfb.log");
    EXPECT_NE(line.find("x500+"), std::string::npos) << line;

    // Let the splash close and the window paint before the photograph.
    std::this_thread::sleep_for(500ms);
    const auto screenshots = std::filesystem::path(TOLLEN_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(screenshots);
    const auto screenshot = screenshots / "main-window.png";
    std::filesystem::remove(screenshot);
    EXPECT_EQ(
        runToEnd({{"import", "-display", display.name(), "-window", "root", screenshot.string()},
                  {},
                  folder.path(),
                  {},
                  {}},
                 20s),
        0);
    EXPECT_GT(std::filesystem::file_size(screenshot), 1000U);

    tollen.signal(SIGTERM);
    EXPECT_EQ(tollen.wait(10s), 0) << readFile(folder.path() / "tollen.err");
}

} // namespace
} // namespace tollen::testing
