// The real program on a real (virtual) screen: it starts on its splash, hands over to the main
// window, is photographed for the documentation, and closes cleanly when the session ends it.

#include "ChildProcess.h"
#include "TestServers.h"

#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace tollen::testing {
namespace {

using namespace std::chrono_literals;

/// Xvfb on a free display number high above the ones desktops and other tools take. It does not
/// reset when a client leaves, so that looking at its windows cannot cut off the program.
class VirtualDisplay
{
public:
    explicit VirtualDisplay(const std::filesystem::path &folder)
    {
        std::random_device random;
        for (int attempt = 0; attempt < 5 && m_name.empty(); ++attempt) {
            const int number = 200 + static_cast<int>(random() % 700);
            if (!std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
                start(":" + std::to_string(number), folder);
            }
        }
    }
    ~VirtualDisplay()
    {
        if (m_server) {
            m_server->signal(SIGTERM);
            m_server->wait(5s);
        }
    }
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    /// ":N", empty when no server started.
    const std::string &name() const { return m_name; }

private:
    void start(const std::string &name, const std::filesystem::path &folder)
    {
        auto server = std::make_unique<ChildProcess>(ChildOptions{
            {"Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
            {},
            folder,
            {},
            folder / "xvfb.log",
        });
        // Ready once a client gets an answer; a server that cannot take the number ends.
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline && !server->wait(100ms)) {
            if (runToEnd({{"xwininfo", "-display", name, "-root"}, {}, folder, {}, {}}, 5s) == 0) {
                m_name = name;
                m_server = std::move(server);
                return;
            }
        }
    }

    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

/// The window tree of the display as xwininfo prints it: one line per window, titles quoted.
std::string windowTree(const std::string &display, const std::filesystem::path &folder)
{
    const auto listing = folder / "windows.txt";
    runToEnd({{"xwininfo", "-display", display, "-root", "-tree"}, {}, folder, listing, {}}, 5s);
    return readFile(listing);
}

TEST(MainWindowOnScreen, OpensAfterTheSplashAndClosesWhenTheSessionEnds)
{
    TemporaryFolder folder;
    const VirtualDisplay display(folder.path());
    ASSERT_FALSE(display.name().empty()) << readFile(folder.path() / "xvfb.log");

    // A copy of its own with a fresh home: no settings file beside it, nothing left behind.
    const auto program = folder.path() / "tollen";
    std::filesystem::copy_file(TOLLEN_GUI_PROGRAM, program);
    const auto runtime = folder.path() / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ChildProcess tollen(
        {{program.string()},
         {{"DISPLAY", display.name()},
          {"HOME", folder.path().string()},
          {"XDG_CONFIG_HOME", (folder.path() / "config").string()},
          {"XDG_RUNTIME_DIR", runtime.string()},
          {"LSAN_OPTIONS", "suppressions=" TOLLEN_SOURCE_DIR "/tests/app/lsan-suppressions.txt"},
          {"WAYLAND_DISPLAY", std::nullopt},
          {"QT_QPA_PLATFORM", std::nullopt}},
         folder.path(),
         folder.path() / "tollen.out",
         folder.path() / "tollen.err"});
    ASSERT_TRUE(tollen.started());

    std::string tree;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (tree.find("\"Tollen v1.0\"") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline && !tollen.wait(200ms)) {
        tree = windowTree(display.name(), folder.path());
    }
    ASSERT_NE(tree.find("\"Tollen v1.0\""), std::string::npos)
        << "no main window; the program said: " << readFile(folder.path() / "tollen.err")
        << "the screen said: " << readFile(folder.path() / "xvfb.log");
    // The designed window is kept at its minimum size of 514 x 500 pixels or more.
    const std::string line = tree.substr(tree.find("\"Tollen v1.0\""));
    EXPECT_NE(line.substr(0, line.find('\n')).find("x500+"), std::string::npos) << line;

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
