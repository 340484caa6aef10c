// Downloads a large file from loopback nginx and vsftpd through the main window's DownloadFile,
// with the headless controls and with the Qt controls on the offscreen platform (progress bar,
// percentage label and event-loop yields all live), and with `curl -o` in the same run. Each
// download runs in a child process of its own, so its time and peak memory are its own. The
// times are those of the transfers alone, without starting the process: DownloadFile as timed
// by the child, curl's own total transfer time. Prints the times, the ratios to curl and the
// peak memory, and last the worst ratio.
//
//   tollen_transfer_benchmark [megabytes]      (default 100)

#include "ChildRun.h"
#include "TestServers.h"
#include "ui/Form1Design.h"
#include "ui/HeadlessForm1.h"
#include "ui/TransferRoutines.h"
#include "ui/qt/QtForm1.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tollen;

constexpr int kRepeats = 3;

struct Settings
{
    std::string protocol; // "http" or "ftp"
    std::string host;
    std::string strurl;
    std::string destination;
};

/// One DownloadFile on the given controls; prints the seconds it took. `settle` runs before the
/// clock starts: a window on the screen has drawn itself long before a user starts a download.
int download(ui::Form1Controls controls, const Settings &settings,
             const std::function<void()> &settle)
{
    ui::applyForm1Design(controls);
    const bool ftp = settings.protocol == "ftp";
    controls.Option1.select(ftp ? 1 : 0);
    controls.host.setText(settings.host);
    controls.path.setText("/");
    controls.user.setText("anonymous");
    controls.pass.setText("guest");
    transfer::cFTP q;
    transfer::Inet inet;
    ui::TransferRoutines routines(q, inet, controls);
    std::string strurl = settings.strurl;
    std::string destination = settings.destination;
    settle();
    const auto start = std::chrono::steady_clock::now();
    const int result = routines.DownloadFile(strurl, destination);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", elapsed.count());
    if (result != 1) {
        std::fprintf(stderr, "download failed (%d): %s\n", result, q.GetLastErrorMessage().c_str());
    }
    return result == 1 ? 0 : 1;
}

int runChild(int argc, char **argv)
{
    const Settings settings{argv[3], argv[4], argv[5], argv[6]};
    if (std::string(argv[2]) == "qt") {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QApplication application(argc, argv);
        ui::qt::QtForm1 form;
        form.window.show();
        return download(form.controls(), settings, [] {
            QApplication::processEvents();
            QApplication::sendPostedEvents();
            QApplication::processEvents();
        });
    }
    ui::HeadlessForm1 form;
    return download(form.controls(), settings, [] {});
}

struct Run
{
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

/// Runs a program; with `reportsTime` its first output line is the time it measured itself,
/// otherwise the wall time of the whole process counts.
Run runMeasured(const std::vector<std::string> &arguments, bool reportsTime)
{
    const bench::ChildRun child = bench::runChild(arguments);
    Run run;
    run.ok = child.ok;
    run.seconds = reportsTime ? std::atof(child.output.c_str()) : child.wallSeconds;
    run.peakKilobytes = child.peakKilobytes;
    return run;
}

/// The fastest of a few runs, each checked for the whole file.
Run best(const std::vector<std::string> &arguments, bool reportsTime, const fs::path &output,
         std::uintmax_t size)
{
    Run fastest;
    for (int i = 0; i < kRepeats; ++i) {
        fs::remove(output);
        Run run = runMeasured(arguments, reportsTime);
        run.ok = run.ok && fs::exists(output) && fs::file_size(output) == size;
        if (!run.ok) {
            return run;
        }
        if (!fastest.ok || run.seconds < fastest.seconds) {
            fastest = run;
        }
    }
    fs::remove(output);
    return fastest;
}

void writeLargeFile(const fs::path &path, std::uintmax_t size)
{
    const std::string block = testing::patternBytes(1 << 20);
    std::FILE *file = std::fopen(path.c_str(), "wb");
    for (std::uintmax_t written = 0; written < size; written += block.size()) {
        std::fwrite(block.data(), 1, std::min<std::uintmax_t>(block.size(), size - written), file);
    }
    std::fclose(file);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 7 && std::string(argv[1]) == "--child") {
        return runChild(argc, argv);
    }
    const std::uintmax_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100;
    const std::uintmax_t size = megabytes << 20;
    const std::uintmax_t smallSize = std::max<std::uintmax_t>(size / 10, 1);
    testing::TemporaryFolder folder;
    const fs::path root = folder.path() / "root";
    fs::create_directories(root);
    writeLargeFile(root / "large.bin", size);
    writeLargeFile(root / "small.bin", smallSize);
    const fs::path output = folder.path() / "download.bin";
    const std::string self = fs::canonical("/proc/self/exe").string();

    testing::NginxServer nginx(root);
    testing::VsftpServer vsftpd(root);
    struct Path
    {
        const char *name;
        std::string protocol;
        std::string host;
        std::string strurlPrefix;
        std::string curlUrl;
    };
    const std::vector<Path> paths = {{"nginx  (HTTP)", "http", nginx.url(), "", nginx.url() + "/"},
                                     {"vsftpd (FTP) ", "ftp", vsftpd.host(), "/",
                                      "ftp://anonymous:guest@" + vsftpd.host() + "/"}};

    std::printf("%ju MB over loopback, best of %d runs each; peak memory of the downloading "
                "process (and for a file of a tenth of the size)\n",
                megabytes, kRepeats);
    double worst = 0;
    bool allOk = true;
    for (const Path &path : paths) {
        const Run curl = best({"/usr/bin/curl", "-s", "-w", "%{time_total}\n", "-o",
                               output.string(), path.curlUrl + "large.bin"},
                              true, output, size);
        std::printf("%s curl -o       %7.3f s          peak %7ld KB\n", path.name, curl.seconds,
                    curl.peakKilobytes);
        allOk = allOk && curl.ok;
        for (const char *face : {"headless", "qt"}) {
            const auto child = [&](const std::string &file) {
                return std::vector<std::string>{self,           "--child", face,
                                                path.protocol,  path.host, path.strurlPrefix + file,
                                                output.string()};
            };
            const Run run = best(child("large.bin"), true, output, size);
            const Run small = best(child("small.bin"), true, output, smallSize);
            const double ratio = curl.seconds > 0 ? run.seconds / curl.seconds : 0;
            worst = std::max(worst, ratio);
            allOk = allOk && run.ok && small.ok;
            std::printf("%s %-12s %7.3f s  %5.2fx  peak %7ld KB (%ld KB)%s\n", path.name, face,
                        run.seconds, ratio, run.peakKilobytes, small.peakKilobytes,
                        run.ok && small.ok ? "" : "  FAILED");
        }
    }
    std::printf("worst ratio: %.2f\n", worst);
    return allOk ? 0 : 1;
}
