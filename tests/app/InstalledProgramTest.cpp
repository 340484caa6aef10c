// The program as a user gets it: installed to a prefix of its own, started on a virtual screen
// with the demo database it installs as its host, "Scan" pressed on the top device. The filled
// results list is photographed for the documentation.

#include "ChildProcess.h"
#include "TestServers.h"
#include "VirtualDisplay.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

/// Where the main window lies on the screen and its id, from its line in the window tree
/// ("0x200010 "Tollen v1.0": (...)  517x500+0+0  +0+0").
struct WindowPlace
{
    std::string id;
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
};

std::optional<WindowPlace> mainWindow(const std::string &tree)
{
    const auto title = tree.find("\"Tollen v1.0\"");
    if (title == std::string::npos) {
        return std::nullopt;
    }
    const auto lineStart = tree.rfind('\n', title) + 1;
    std::istringstream line(tree.substr(lineStart, tree.find('\n', title) - lineStart));
    WindowPlace place;
    line >> place.id;
    std::string word;
    while (line >> word) {
        char separator = 0;
        std::istringstream size(word);
        if (std::isdigit(static_cast<unsigned char>(word[0])) &&
            (size >> place.width >> separator) && separator == 'x' && (size >> place.height)) {
            line >> word; // the absolute place follows: "+left+top"
            std::istringstream corner(word);
            char plus = 0;
            corner >> plus >> place.left >> plus >> place.top;
            return place;
        }
    }
    return std::nullopt;
}

/// The mean brightness, 0 black to 1 white, of a part of a picture.
double brightness(const fs::path &picture, int left, int top, int width, int height,
                  const fs::path &folder)
{
    const auto output = folder / "brightness.txt";
    runToEnd({{"convert", picture.string(), "-crop",
               std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(left) +
                   "+" + std::to_string(top),
               "-colorspace", "gray", "-format", "%[fx:mean]", "info:"},
              {},
              folder,
              output,
              {}},
             20s);
    return std::atof(readFile(output).c_str());
}

TEST(InstalledProgram, ScanOnTheTopDeviceListsDriversOfTheInstalledDemoDatabase)
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
    const fs::path database = prefix / "share/tollen/demo-db";
    ASSERT_TRUE(fs::is_directory(database / "DIRSTRUCT"));
    // HTTP chosen, the installed demo database as the host.
    {
        std::ofstream settings(prefix / "bin/sorrel.ini", std::ios::binary);
        settings << "0\r\nfile://" << database.string() << "\r\n\r\n/\r\nanonymous\r\n\r\n";
    }

    const VirtualDisplay display(folder.path());
    ASSERT_FALSE(display.name().empty()) << readFile(folder.path() / "xvfb.log");
    ChildOptions options = windowedProgram(prefix / "bin/tollen", display.name(), folder.path());
    // The query keeps its copy of the index file in a folder of its own under this one.
    options.environment["TEMP"] = folder.path().string();
    ChildProcess tollen(options);
    ASSERT_TRUE(tollen.started());
    std::optional<WindowPlace> window;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!window && std::chrono::steady_clock::now() < deadline && !tollen.wait(200ms)) {
        window = mainWindow(windowTree(display.name(), folder.path()));
    }
    ASSERT_TRUE(window) << "no main window; the program said: "
                        << readFile(folder.path() / "tollen.err");
    std::this_thread::sleep_for(500ms);

    // The rows of the results list, below its headings, as the layout places it in the window
    // (pixels at 15 twips each): empty before the scan.
    const int rowsLeft = 8 + 144 + 6;
    const int rowsTop = 208 + 80 + 26;
    const int rowsWidth = std::min(window->width - 16 - 148 - 12, 300);
    const int rowsHeight = std::min(window->height - 337 - 50, 60);
    const fs::path shot = folder.path() / "window.png";
    const auto photograph = [&] {
        return runToEnd(
                   {{"import", "-display", display.name(), "-window", window->id, shot.string()},
                    {},
                    folder.path(),
                    {},
                    {}},
                   20s) == 0;
    };
    ASSERT_TRUE(photograph());
    EXPECT_GT(brightness(shot, rowsLeft, rowsTop, rowsWidth, rowsHeight, folder.path()), 0.99);

    // "Scan" is the last of the four buttons under the hardware list, each a quarter of its width.
    const double quarter = std::nearbyint((window->width - 160 - 18) * 15 / 4.0);
    const int scanX = window->left + 152 + static_cast<int>((120 + 3.5 * quarter) / 15);
    const int scanY = window->top + 8 + (2520 + 187) / 15;
    ASSERT_EQ(runToEnd({{"xdotool", "mousemove", std::to_string(scanX), std::to_string(scanY),
                         "click", "1"},
                        {{"DISPLAY", display.name()}},
                        folder.path(),
                        {},
                        {}},
                       20s),
              0);
    // Rows with text darken the list.
    double filled = 1;
    const auto listed = std::chrono::steady_clock::now() + 15s;
    while (filled > 0.97 && std::chrono::steady_clock::now() < listed) {
        std::this_thread::sleep_for(200ms);
        ASSERT_TRUE(photograph());
        filled = brightness(shot, rowsLeft, rowsTop, rowsWidth, rowsHeight, folder.path());
    }
    EXPECT_LT(filled, 0.97) << readFile(folder.path() / "tollen.err");

    const auto screenshots = fs::path(TOLLEN_BINARY_DIR) / "screenshots";
    fs::create_directories(screenshots);
    fs::copy_file(shot, screenshots / "main-window-scan.png", fs::copy_options::overwrite_existing);

    tollen.signal(SIGTERM);
    EXPECT_EQ(tollen.wait(10s), 0) << readFile(folder.path() / "tollen.err");
}

} // namespace
} // namespace tollen::testing
