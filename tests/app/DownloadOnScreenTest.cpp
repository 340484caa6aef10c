// The driver download flow in the real window on a virtual screen: a user's double click on an
// "Archived" result of the demo database downloads the archive and hands it to the desktop's
// handler for its type, found through the user's own XDG settings, where the test has put a
// handler of its own that records the arguments it is started with. The window is photographed
// reading "Driver download OK.".

#include "ChildProcess.h"
#include "TestServers.h"
#include "VirtualDisplay.h"
#include "ui/DownloadRules.h"

#include <gtest/gtest.h>
#include <thread>

namespace tollen::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

/// The value after "name=" on a line of the driver's report; empty when absent.
std::string reported(const std::string &report, const std::string &name)
{
    const auto start = report.find(name + "=");
    if (start == std::string::npos) {
        return {};
    }
    const auto value = start + name.size() + 1;
    return report.substr(value, report.find('\n', value) - value);
}

TEST(DownloadOnScreen, ArchivedResultGoesToTheDesktopsHandlerAndTheWindowSaysOk)
{
    if (!fs::exists("/usr/bin/xdg-open")) {
        GTEST_SKIP() << "xdg-open (package xdg-utils, installed by scripts/setup) is missing";
    }
    TemporaryFolder folder;
    const fs::path home = folder.path();
    const VirtualDisplay display(home);
    ASSERT_FALSE(display.name().empty()) << readFile(home / "xvfb.log");

    // The desktop's choice for archives: a handler of the test's own, which writes the number of
    // its arguments and each argument on a line.
    const fs::path record = home / "handed-over.txt";
    const fs::path handler = home / "archive-handler";
    writeFile(handler, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + record.string() + "'\n");
    fs::permissions(handler, fs::perms(0755));
    writeFile(home / "data/applications/tollen-test-archives.desktop",
              "[Desktop Entry]\nType=Application\nName=Archive handler of the test\nExec=" +
                  handler.string() + " %f\n");
    writeFile(home / "config/mimeapps.list",
              "[Default Applications]\napplication/zip=tollen-test-archives.desktop\n"
              "application/x-7z-compressed=tollen-test-archives.desktop\n");

    const std::string device = "PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02";
    writeFile(home / "machine.hwp", device + "\r\nGigabit network adapter\r\n");
    // A copy of the driver with its own settings file beside it, written before it starts.
    const fs::path driver = home / "driver";
    fs::copy_file(TOLLEN_DOWNLOAD_DRIVER, driver);
    writeFile(home / "sorrel.ini", "0\r\n\r\n\r\n\r\n\r\n\r\n");
    fs::create_directories(home / "temp");
    const fs::path database = TOLLEN_BINARY_DIR "/data/demo-db";

    ChildOptions options = windowedProgram(driver, display.name(), home);
    options.arguments.insert(options.arguments.end(),
                             {database.string(), (home / "machine.hwp").string(), device});
    options.environment.insert({{"XDG_DATA_HOME", (home / "data").string()},
                                {"TEMP", (home / "temp").string()},
                                {"temp", std::nullopt},
                                // A plain X session: xdg-open then asks the XDG settings.
                                {"XDG_CURRENT_DESKTOP", std::nullopt},
                                {"DESKTOP_SESSION", std::nullopt},
                                {"GNOME_DESKTOP_SESSION_ID", std::nullopt},
                                {"KDE_FULL_SESSION", std::nullopt},
                                {"BROWSER", std::nullopt}});
    ChildProcess window(options);
    ASSERT_TRUE(window.started());
    std::string report;
    const auto deadline = std::chrono::steady_clock::now() + 90s;
    while (report.find("done\n") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline && !window.wait(200ms)) {
        report = readFile(options.outputFile);
    }
    report = readFile(options.outputFile);
    ASSERT_NE(report.find("done\n"), std::string::npos) << report << readFile(options.errorFile);
    EXPECT_EQ(reported(report, "question"), "Download driver?");
    EXPECT_EQ(reported(report, "Label5"), "Driver download OK.");
    EXPECT_EQ(reported(report, "Label9"), "100%");
    // The handler got one argument: the archive in this run's folder under TEMP.
    std::string handed;
    for (int wait = 0; wait < 100 && handed.empty(); ++wait) {
        std::this_thread::sleep_for(100ms);
        handed = readFile(record);
    }
    const std::string name = ui::archiveName(ui::archivePath(reported(report, "Remote Path")));
    ASSERT_EQ(handed.substr(0, 2), "1\n") << handed;
    const fs::path file = handed.substr(2, handed.size() - 3);
    EXPECT_EQ(file.parent_path().parent_path(), home / "temp");
    EXPECT_EQ(file.filename(), name);
    EXPECT_EQ(readFile(file), readFile(database / "network/pro1000.zip"));

    const auto screenshots = fs::path(TOLLEN_BINARY_DIR) / "screenshots";
    fs::create_directories(screenshots);
    const auto screenshot = screenshots / "driver-download-ok.png";
    fs::remove(screenshot);
    EXPECT_EQ(runToEnd({{"import", "-display", display.name(), "-window",
                         reported(report, "window id"), screenshot.string()},
                        {},
                        home,
                        {},
                        {}},
                       20s),
              0);
    EXPECT_GT(fs::file_size(screenshot), 1000U);

    window.signal(SIGTERM);
    EXPECT_EQ(window.wait(10s), 0) << readFile(options.errorFile);
    // The run's folder keeps nothing but the archive handed to the desktop.
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(file.parent_path()), {}),
              std::vector<fs::path>{file});
}

} // namespace
} // namespace tollen::testing
