// Times `tollen-cli fetch --all` of a machine whose every device has a package of its own, 1 GB
// in all over loopback nginx: half of them zip archives (an INF file and a driver file of
// incompressible bytes), half folder packages (an INF, a driver file and a catalog, fetched by
// their file list). Next to each run, curl fetches the very requests the fetch made (read from
// nginx's log) in one run with --parallel: the cost of the transfers alone, without checking or
// unpacking. Times are the best of a few rounds, with the processor time of the process and how
// many of the machine's cores were busy (fetch's own threads and nginx share them); the ratio is
// the middle one of the rounds' fetch over curl. Then the same 1 GB as packages ten times as
// large, for fetch's peak memory: it should not grow with the size of a package. The last line
// reads "fetch ratio: X".
//
//   tollen_fetch_benchmark

#include "ChildProcess.h"
#include "ChildRun.h"
#include "TestPlatform.h"
#include "TestServers.h"
#include "core/Sha256.h"
#include "database/IdPlacement.h"
#include "database/PackageFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using tollen::bench::ChildRun;
using tollen::bench::runChild;

constexpr std::size_t kTotalBytes = 1'000'000'000;
constexpr int kRepeats = 5;

/// Bytes no compressor shrinks, different for each seed.
std::string noiseBytes(std::size_t count, std::uint64_t seed)
{
    std::string bytes(count, '\0');
    std::uint64_t state = seed * 0x9E3779B97F4A7C15ULL + 1;
    for (std::size_t at = 0; at < count; at += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        for (std::size_t byte = 0; byte < 8 && at + byte < count; ++byte) {
            bytes[at + byte] = static_cast<char>(state >> (8 * byte));
        }
    }
    return bytes;
}

void writeBytes(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

/// A database of `count` packages of about kTotalBytes / count bytes each, one device each; the
/// profile of the machine goes to `profile`.
void writeDatabase(const fs::path &root, int count, const fs::path &profile)
{
    std::map<std::string, std::string> indexFiles;
    std::string devices;
    for (int number = 0; number < count; ++number) {
        char id[64];
        std::snprintf(id, sizeof id, "PCI\\VEN_1234&DEV_%04X", number);
        devices += std::string(id) + "\r\nDevice\r\n";
        const std::string inf = "[Version]\r\nClass=Net\r\n";
        const std::string driver = noiseBytes(kTotalBytes / count, number);
        const std::string name = "/packages/driver" + std::to_string(number);
        std::string remotePath;
        std::string proof;
        std::string type = "Folder";
        if (number % 2 == 0) {
            // Zipped by Info-ZIP, which stores what it cannot shrink, as vendors' tools do.
            const fs::path source = root / "source";
            writeBytes(source / "driver.inf", inf);
            writeBytes(source / "x64/driver.sys", driver);
            const fs::path zipPath = root / (name.substr(1) + ".zip");
            fs::create_directories(zipPath.parent_path());
            tollen::testing::runToEnd(
                {{"/usr/bin/zip", "-q", "-r", "-X", zipPath.string(), "."}, {}, source, {}, {}},
                std::chrono::minutes(2));
            fs::remove_all(source);
            const std::string zip = tollen::testing::readFile(zipPath);
            remotePath = name + ".zip/driver.inf";
            proof = tollen::database::packageProofFields({tollen::sha256Hex(zip), zip.size()});
            type = "Archived";
        } else {
            std::vector<tollen::database::PackageFile> files;
            for (const auto &[path, bytes] :
                 {std::pair<std::string, const std::string &>{"driver.inf", inf},
                  {"x64/driver.sys", driver},
                  {"driver.cat", inf}}) {
                writeBytes(root / name.substr(1) / path, bytes);
                files.push_back({path, {tollen::sha256Hex(bytes), bytes.size()}});
            }
            const std::string list = tollen::database::writeFileList(files);
            writeBytes(root / tollen::database::fileListPath(name + "/").substr(1), list);
            remotePath = name + "/driver.inf";
            proof = tollen::database::packageProofFields({tollen::sha256Hex(list), list.size()});
        }
        const std::string line = type + "\"Maker\"Device\"" + id +
                                 "\"Net\"NTamd64\"1.0\"01/01/2024\"" + remotePath + proof + "\r\n";
        for (const std::string &folder : tollen::database::placeHardwareId(id).folders) {
            indexFiles[folder] += line;
        }
    }
    for (const auto &[folder, lines] : indexFiles) {
        writeBytes(root / "DIRSTRUCT" / folder / "index.txt", lines);
    }
    writeBytes(profile, devices);
}

struct Figures
{
    double fetchSeconds = 1e9;
    double curlSeconds = 1e9;
    /// The processor time of the fastest run of each.
    double fetchCpuSeconds = 0;
    double curlCpuSeconds = 0;
    /// The machine's busy processors during the fastest run of each.
    double fetchBusyCores = 0;
    double curlBusyCores = 0;
    long peakKilobytes = 0;
    std::size_t requests = 0;
    /// Each round's fetch time over the curl run right after it, which the machine's load at the
    /// time touches alike.
    std::vector<double> ratios;

    /// The middle round's ratio.
    double ratio() const
    {
        std::vector<double> sorted = ratios;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
};

/// A few rounds of a fetch of the machine's drivers, each followed by curl fetching what it
/// fetched.
Figures measure(const fs::path &root, const fs::path &profile, const fs::path &work)
{
    Figures figures;
    const fs::path drivers = work / "drivers";
    const fs::path copies = work / "curl";
    for (int round = 0; round < kRepeats; ++round) {
        // Each run's files are removed just before it: removing files leaves work for the file
        // system's next allocations, which should fall on the run that made them.
        fs::remove_all(drivers);
        const tollen::testing::NginxServer nginx(root);
        const ChildRun fetch =
            runChild({TOLLEN_CLI_PROGRAM, "fetch", profile.string(), "--to", drivers.string(),
                      "--all", "--http", nginx.url(), "--format", "tsv"});
        if (!fetch.ok) {
            std::fprintf(stderr, "fetch failed over %s\n", root.c_str());
            std::exit(1);
        }
        if (fetch.wallSeconds < figures.fetchSeconds) {
            figures.fetchSeconds = fetch.wallSeconds;
            figures.fetchCpuSeconds = fetch.cpuSeconds;
            figures.fetchBusyCores = fetch.busyCores;
        }
        figures.peakKilobytes = std::max(figures.peakKilobytes, fetch.peakKilobytes);
        // nginx logs a request a moment after it answered it.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const std::vector<std::string> requests = nginx.requests();
        std::string config;
        for (std::size_t index = 0; index < requests.size(); ++index) {
            const std::string &request = requests[index];
            const auto start = request.find(' ') + 1;
            config += "url = \"" + nginx.url() + request.substr(start, request.rfind(' ') - start) +
                      "\"\noutput = \"" + (copies / std::to_string(index)).string() + "\"\n";
        }
        writeBytes(work / "curl.config", config);
        figures.requests = requests.size();
        fs::remove_all(copies);
        const ChildRun curl =
            runChild({"/usr/bin/curl", "-s", "--no-progress-meter", "--parallel", "--create-dirs",
                      "--config", (work / "curl.config").string()});
        if (curl.wallSeconds < figures.curlSeconds) {
            figures.curlSeconds = curl.wallSeconds;
            figures.curlCpuSeconds = curl.cpuSeconds;
            figures.curlBusyCores = curl.busyCores;
        }
        figures.ratios.push_back(fetch.wallSeconds / curl.wallSeconds);
    }
    return figures;
}

} // namespace

int main()
{
    const tollen::testing::TemporaryFolder folder;
    std::map<int, Figures> figures;
    for (const int packages : {200, 20}) {
        const fs::path root = folder.path() / "db";
        const fs::path profile = folder.path() / "machine.hwp";
        fs::remove_all(root);
        // Written by a child process: a program the benchmark starts begins in the benchmark's
        // memory and keeps its peak, which would count in the fetch's own.
        if (const pid_t writer = ::fork(); writer == 0) {
            writeDatabase(root, packages, profile);
            std::_Exit(0);
        } else if (int status = 0;
                   writer < 0 || ::waitpid(writer, &status, 0) != writer || status != 0) {
            std::fprintf(stderr, "the database of %d packages could not be written\n", packages);
            return 1;
        }
        figures[packages] = measure(root, profile, folder.path());
        const Figures &measured = figures[packages];
        std::printf("%3d packages of %4zu MB: fetch %5.2f s (%.2f s CPU, %.1f of %ld cores busy), "
                    "curl --parallel %5.2f s (%.2f s CPU, %.1f cores busy, %zu requests), ratio "
                    "%4.2f, peak memory %5.1f MB\n",
                    packages, kTotalBytes / packages / 1'000'000, measured.fetchSeconds,
                    measured.fetchCpuSeconds, measured.fetchBusyCores,
                    ::sysconf(_SC_NPROCESSORS_ONLN), measured.curlSeconds, measured.curlCpuSeconds,
                    measured.curlBusyCores, measured.requests, measured.ratio(),
                    static_cast<double>(measured.peakKilobytes) / 1024);
    }
    std::printf("peak memory with packages ten times as large: %.2f times\n",
                static_cast<double>(figures[20].peakKilobytes) /
                    static_cast<double>(figures[200].peakKilobytes));
    std::printf("fetch ratio: %.2f\n", figures[200].ratio());
    return 0;
}
