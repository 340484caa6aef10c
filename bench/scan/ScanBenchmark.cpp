// Times the device scan of a registry with 10,000 devices and the load of a 10,000-record
// profile, into the headless list and into the Qt list (offscreen), next to `lspci -nn` run
// from the same process for scale. Each figure is the median of five runs. The last line reads
// "worst ms: X", the largest of the figures.

#include "controls/headless/HeadlessDialogs.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileCommands.h"
#include "registry/MemoryStore.h"
#include "ui/qt/QtListView.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

using namespace tollen;

constexpr int kDevices = 10000;
constexpr int kRuns = 5;

double milliseconds(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

void fillRegistry(registry::MemoryStore &store)
{
    for (int i = 0; i < kDevices; ++i) {
        char path[160];
        std::snprintf(path, sizeof path,
                      "SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_%04X&DEV_%04X&SUBSYS_00000000&"
                      "REV_01\\3&11583659&0&%d",
                      0x1000 + i / 100, i % 100, i);
        registry::RegistryHandle key = 0;
        store.createKey(registry::kLocalMachine, path, key);
        const std::string desc = "@oem.inf,%device%;Device " + std::to_string(i) + '\0';
        store.setValue(key, "DeviceDesc", registry::kString,
                       reinterpret_cast<const std::uint8_t *>(desc.data()),
                       static_cast<std::uint32_t>(desc.size()));
        store.closeKey(key);
    }
}

/// Writes the profile into a folder of this run's own (made with mode 0700 under a fresh name, so
/// two runs never share it); the caller removes the folder.
std::filesystem::path writeProfile()
{
    std::string folder = (std::filesystem::temp_directory_path() / "tollen-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("cannot make a temporary folder");
        std::exit(1);
    }
    const auto file = std::filesystem::path(folder) / "profile.hwp";
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < kDevices; ++i) {
        out << "PCI\\VEN_8086&DEV_" << 1000 + i << "&SUBSYS_00000000&REV_01\r\nDevice " << i
            << "\r\n";
    }
    return file;
}

/// Runs `lspci -nn` without a shell, its output discarded; false when it cannot be run.
bool runLspci()
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char program[] = "lspci";
    char option[] = "-nn";
    char *argv[] = {program, option, nullptr};
    pid_t child = 0;
    const int started = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    registry::MemoryStore store;
    fillRegistry(store);
    const auto profile = writeProfile();
    controls::HeadlessDialogs dialogs;
    QWidget window;
    std::vector<std::pair<const char *, double>> figures;

    controls::ListView headless;
    figures.emplace_back("scan 10,000 devices, headless list", milliseconds([&] {
                             headless.clear();
                             inventory::DeviceScan(store, inventory::kNtLayout, headless).ScanAll();
                         }));
    figures.emplace_back("load 10,000-record profile, headless list", milliseconds([&] {
                             inventory::ReadProfile(profile.string(), headless, dialogs);
                         }));

    ui::qt::QtListView shown(ui::qt::Placement{&window, controls::kPixels});
    shown.setGeometry({0, 0, 800, 600});
    inventory::DeviceScan(store, inventory::kNtLayout, shown).ScanBus("HDAUDIO");
    window.show();
    figures.emplace_back("scan 10,000 devices, Qt list", milliseconds([&] {
                             shown.clear();
                             inventory::DeviceScan(store, inventory::kNtLayout, shown).ScanAll();
                             QApplication::processEvents();
                         }));
    figures.emplace_back("load 10,000-record profile, Qt list", milliseconds([&] {
                             inventory::ReadProfile(profile.string(), shown, dialogs);
                             QApplication::processEvents();
                         }));
    std::filesystem::remove_all(profile.parent_path());

    bool lspciRan = true;
    const double lspci = milliseconds([&] { lspciRan = runLspci() && lspciRan; });

    double worst = 0;
    for (const auto &[what, ms] : figures) {
        std::printf("%-45s %8.2f ms  (%.2f x lspci -nn)\n", what, ms, lspciRan ? ms / lspci : 0.0);
        worst = std::max(worst, ms);
    }
    if (lspciRan) {
        std::printf("%-45s %8.2f ms\n", "lspci -nn (for scale)", lspci);
    } else {
        std::printf("lspci -nn could not be run (package pciutils)\n");
    }
    std::printf("rows: headless %d, Qt %d\n", headless.rowCount(), shown.rowCount());
    std::printf("worst ms: %.2f\n", worst);
    return 0;
}
