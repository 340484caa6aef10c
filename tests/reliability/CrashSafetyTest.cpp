// Kills the program (SIGKILL, in a child process) at random moments while it writes the
// settings file, a profile or a download, many times over. Each time the file must be the
// previous one or the whole new one, and the next start (for files in a folder of the user's
// choice: the next write into that folder) must leave no temporary file behind.

#include "ReliabilityFixture.h"
#include "core/RunFolder.h"
#include "inventory/DeviceRecords.h"
#include "inventory/ProfileFile.h"
#include "ui/SettingsFile.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

/// Runs `work` over and over in a child process and kills it after a random delay of up to
/// `longest`; the delay chosen, for the failure message.
std::chrono::microseconds killWhileWorking(const std::function<void()> &work,
                                           std::chrono::microseconds longest)
{
    static std::mt19937 generator{std::random_device{}()};
    const std::chrono::microseconds delay{
        std::uniform_int_distribution<long>(0, longest.count())(generator)};
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) {
            work();
        }
    }
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;
    return delay;
}

constexpr int kRounds = 25;

/// Kills a child that writes `file` over and over, with `second` and `first` in turn, `rounds`
/// times: each time the file is one of `whole`, and once `next` has run (the next start or
/// write) the file is alone in its folder.
void expectOldOrNewAfterKills(const fs::path &file, const std::vector<std::string> &whole,
                              const std::function<void(bool second)> &write,
                              const std::function<void()> &next, std::chrono::milliseconds longest,
                              int rounds = kRounds)
{
    for (int round = 0; round < rounds; ++round) {
        bool toggle = false;
        const auto delay = killWhileWorking([&] { write(toggle = !toggle); }, longest);
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " us");
        EXPECT_NE(std::ranges::find(whole, readFile(file)), whole.end());
        next();
        EXPECT_EQ(fileNames(file.parent_path()),
                  std::vector<std::string>{file.filename().string()});
    }
}

TEST(CrashSafety, SettingsFileIsOldOrNewAndTheNextStartCleansUp)
{
    TemporaryFolder folder;
    const ui::SettingsFolders folders{folder.path(), {}, false};
    transfer::NetworkSettings first;
    first.httpHost = "http://127.0.0.1:1/first";
    first.pass = std::string(20000, 'p');
    transfer::NetworkSettings second = first;
    second.ftpChosen = true;
    second.httpHost = "http://127.0.0.1:1/second";
    ASSERT_FALSE(ui::writeSettings(folders, first));
    expectOldOrNewAfterKills(
        folder.path() / ui::kSettingsFileName,
        {ui::formatSettingsFile(first), ui::formatSettingsFile(second)},
        [&](bool toSecond) { ui::writeSettings(folders, toSecond ? second : first); },
        [&] {
            const transfer::NetworkSettings read = ui::readSettings(folders, {});
            EXPECT_TRUE(read == first || read == second);
        },
        std::chrono::milliseconds(30));
}

TEST(CrashSafety, ProfileIsOldOrNewAndTheNextSaveCleansUp)
{
    TemporaryFolder folder;
    const fs::path file = folder.path() / "machine.hwp";
    controls::ListView first;
    controls::ListView second;
    for (int row = 0; row < 5000; ++row) {
        inventory::AddDeviceRecord(first, "PCI\\VEN_8086&DEV_" + std::to_string(row),
                                   "Device " + std::to_string(row));
        inventory::AddDeviceRecord(second, "USB\\VID_046D&PID_" + std::to_string(row), "Mouse");
    }
    ASSERT_FALSE(inventory::writeProfile(first, file));
    expectOldOrNewAfterKills(
        file, {inventory::formatProfile(first), inventory::formatProfile(second)},
        [&](bool toSecond) { inventory::writeProfile(toSecond ? second : first, file); },
        [&] { ASSERT_FALSE(inventory::writeProfile(first, file)); }, std::chrono::milliseconds(30));
}

class CrashSafeDownload : public ::testing::Test
{
protected:
    CrashSafeDownload()
    {
        writeFile(m_remote.path() / "driver.zip", patternBytes(4 * 1024 * 1024));
        m_server = std::make_unique<NginxServer>(m_remote.path());
        window.choose(false, m_server->url());
    }

    void download(const fs::path &destination) { window.download("/driver.zip", destination); }

    TemporaryFolder m_remote;
    std::unique_ptr<NginxServer> m_server;
    HeadlessTransfers window;
};

TEST_F(CrashSafeDownload, SavedFileIsOldOrWholeAndTheNextDownloadCleansUp)
{
    TemporaryFolder folder;
    const fs::path destination = folder.path() / "driver.zip";
    const std::vector<std::string> whole = {"the old download", patternBytes(4 * 1024 * 1024)};
    writeFile(destination, whole[0]);
    expectOldOrNewAfterKills(
        destination, whole, [&](bool) { download(destination); },
        [&] {
            download(destination);
            EXPECT_EQ(readFile(destination), whole[1]);
            writeFile(destination, whole[0]);
        },
        std::chrono::milliseconds(150), kRounds / 2);
}

TEST_F(CrashSafeDownload, DownloadIntoTheRunFolderIsCleanedByTheNextStart)
{
    TemporaryFolder temporary;
    // Each child is a run of its own, with its own run folder under the private folder.
    const auto asRun = [&](const std::function<void(const fs::path &)> &work) {
        ::setenv("TEMP", temporary.path().c_str(), 1);
        const RunFolder folder = runFolder();
        if (folder) {
            work(folder.path);
        }
    };
    for (int round = 0; round < kRounds / 2; ++round) {
        const auto delay = killWhileWorking(
            [&] { asRun([&](const fs::path &folder) { download(folder / "driver.zip"); }); },
            std::chrono::milliseconds(150));
        const pid_t nextStart = ::fork();
        if (nextStart == 0) {
            asRun([](const fs::path &) {});
            ::_exit(0);
        }
        ::waitpid(nextStart, nullptr, 0);
        // The killed run's folder is gone whole: only the next start's own is left.
        EXPECT_EQ(std::distance(fs::directory_iterator(temporary.path()), {}), 1)
            << "killed after " << delay.count() << " us";
    }
}

} // namespace
} // namespace tollen::testing
