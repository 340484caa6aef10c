// Times tollen-index on a generated database folder: 10,000 INF files of about 10 KB (a quarter
// of them UTF-16, as many real ones are), half loose in vendor folders and half in zip archives
// of 100 each. Each round removes the tree and the cache, runs tollen-index (the first run),
// runs it again on the unchanged folder (the re-run), and runs `cat` on every file of the folder
// into /dev/null, the cost of reading alone. The folder is generated in a private temporary
// folder and removed at the end. Each round shows wall-clock times and the processor time of the
// programs run. Then tollen-index reads a folder holding one zip with a 64 MB INF file of a
// [Manufacturer] section and millions of one-character lines, and its peak resident memory is
// shown: at most 512 MB, else the benchmark fails. The last line reads "worst ratio: X", the
// largest first-run / cat ratio of wall-clock times of the rounds.

#include "ArchiveFixtures.h"
#include "ChildRun.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;

constexpr int kInfFiles = 10000;
constexpr int kInfFilesPerZip = 100;
constexpr int kDrivers = 500;
constexpr int kRounds = 3;
constexpr std::size_t kLargeInfBytes = 64 * 1024 * 1024;
constexpr long kMostLargeInfKilobytes = 512 * 1024;

/// The same driver in many versions and for many systems shares its devices, as in a real
/// collection: driver d covers twelve devices of one vendor.
std::string makeInf(int number, std::mt19937 &random)
{
    const int driver = number % kDrivers;
    const int vendor = 0x1000 + driver % 40 * 0x111;
    char id[96];
    std::string text;
    text.reserve(12 * 1024);
    text +=
        "; Generated for the tollen-index benchmark.\r\n[Version]\r\nSignature=\"$WINDOWS NT$\"\r\n"
        "Class=Net\r\nClassGuid={4d36e972-e325-11ce-bfc1-08002be10318}\r\n"
        "Provider=%Provider%\r\nDriverVer=";
    text += std::to_string(1 + number % 12) + "/" + std::to_string(1 + number % 28) + "/20" +
            std::to_string(10 + number % 14) + "," + std::to_string(number % 30) + ".0." +
            std::to_string(number) + ".0\r\n\r\n";
    text += "[Manufacturer]\r\n%Maker% = Models, NTx86, NTamd64.6.1\r\n";
    std::string models;
    for (int device = 0; device < 12; ++device) {
        const int deviceId = 0x100 + driver / 40 * 16 + device;
        std::snprintf(id, sizeof id,
                      "PCI\\VEN_%04X&DEV_%04X&SUBSYS_%04X%04X, PCI\\VEN_%04X&DEV_%04X", vendor,
                      deviceId, 0x1000 + device % 3, vendor, vendor, deviceId);
        models += "%Device" + std::to_string(device) + "% = Install, " + id + "\r\n";
    }
    text += "\r\n[Models.NTx86]\r\n" + models + "\r\n[Models.NTamd64.6.1]\r\n" + models;
    text += "\r\n[Install]\r\nCopyFiles = Install.CopyFiles\r\nAddReg = Install.AddReg\r\n"
            "\r\n[Install.AddReg]\r\n";
    std::uniform_int_distribution<int> value(0, 99999);
    while (text.size() < 9 * 1024) {
        text += "HKR, Ndi\\params\\Param" + std::to_string(value(random)) +
                ", ParamDesc, 0, \"Setting " + std::to_string(value(random)) +
                "\" ; a comment, \"quoted\"\r\n";
    }
    text += "\r\n[Strings]\r\nProvider = \"Benchmark Drivers\"\r\nMaker = \"Vendor " +
            std::to_string(vendor) + "\"\r\n";
    for (int device = 0; device < 12; ++device) {
        text += "Device" + std::to_string(device) + " = \"Network adapter " +
                std::to_string(driver) + "." + std::to_string(device) + "\"\r\n";
    }
    if (number % 4 != 0) {
        return text;
    }
    std::string utf16 = "\xFF\xFE";
    for (const char character : text) {
        utf16 += character;
        utf16 += '\0';
    }
    return utf16;
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

/// Generates the database folder; returns every file in it.
std::vector<std::string> generate(const fs::path &root)
{
    std::mt19937 random(20240101);
    std::vector<std::string> files;
    std::vector<tollen::testing::ArchiveMember> members;
    std::size_t bytes = 0;
    for (int number = 0; number < kInfFiles; ++number) {
        const std::string name = "driver" + std::to_string(number) + ".inf";
        std::string inf = makeInf(number, random);
        bytes += inf.size();
        if (number % 2 == 0) {
            const fs::path folder = root / ("vendor" + std::to_string(number % kDrivers % 40)) /
                                    ("driver" + std::to_string(number % kDrivers));
            fs::create_directories(folder);
            writeFile(folder / name, inf);
            files.push_back((folder / name).string());
            continue;
        }
        members.push_back({"Drivers\\Win64\\" + name, std::move(inf)});
        if (members.size() == kInfFilesPerZip) {
            const fs::path zip = root / "packs" / ("pack" + std::to_string(number) + ".zip");
            fs::create_directories(zip.parent_path());
            writeFile(zip,
                      tollen::testing::makeArchive(tollen::testing::ArchiveFormat::Zip, members));
            files.push_back(zip.string());
            members.clear();
        }
    }
    // The folder goes to the disk now: the builder ends by flushing its file system, which would
    // otherwise write the generated folder as well, in the first round only.
    ::sync();
    std::printf("generated: %d INF files, %.1f MB, %zu files on disk\n", kInfFiles,
                static_cast<double>(bytes) / 1e6, files.size());
    return files;
}

/// Runs a program without a shell, its output into /dev/null; its exit status.
int run(const std::vector<std::string> &arguments)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        ::waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// Processor time (user and system) of the finished child processes so far, in seconds.
double childProcessorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto toSeconds = [](const timeval &time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

/// Wall-clock and processor time of a piece of work that runs child processes. On a busy
/// machine the processor time says more about the work itself.
struct Timing
{
    double wall = 0;
    double processor = 0;
};

Timing timed(const std::function<void()> &work)
{
    const double processorStart = childProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            childProcessorSeconds() - processorStart};
}

void catAll(const std::vector<std::string> &files)
{
    // In batches, as xargs would, to stay far below the argument limit.
    for (std::size_t start = 0; start < files.size(); start += 1000) {
        std::vector<std::string> arguments = {"cat"};
        const std::size_t end = std::min(files.size(), start + 1000);
        arguments.insert(arguments.end(), files.begin() + static_cast<std::ptrdiff_t>(start),
                         files.begin() + static_cast<std::ptrdiff_t>(end));
        run(arguments);
    }
}

/// Writes a zip holding one 64 MB INF file: a [Manufacturer] section of one-character lines. It
/// is written a block at a time: a child started with posix_spawn is charged the peak memory of
/// this program too, so this program must stay small for the child's figure to be its own.
bool writeLargeInfZip(const fs::path &zip)
{
    const std::string manufacturer = "[Manufacturer]\r\n";
    std::string block;
    for (int line = 0; line < 32 * 1024; ++line) {
        block += "x\n";
    }
    archive *writer = archive_write_new();
    archive_entry *entry = archive_entry_new();
    archive_entry_set_pathname(entry, "lines.inf");
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(kLargeInfBytes));
    bool written = archive_write_set_format_zip(writer) == ARCHIVE_OK &&
                   archive_write_open_filename(writer, zip.c_str()) == ARCHIVE_OK &&
                   archive_write_header(writer, entry) == ARCHIVE_OK &&
                   archive_write_data(writer, manufacturer.data(), manufacturer.size()) > 0;
    for (std::size_t left = kLargeInfBytes - manufacturer.size(); written && left > 0;) {
        const std::size_t size = std::min(left, block.size());
        written = archive_write_data(writer, block.data(), size) == static_cast<la_ssize_t>(size);
        left -= size;
    }
    written = archive_write_close(writer) == ARCHIVE_OK && written;
    archive_entry_free(entry);
    archive_write_free(writer);
    return written;
}

/// Runs tollen-index on a folder holding the zip of writeLargeInfZip(); false when it fails or
/// passes the memory limit.
bool measureLargeInf(const fs::path &root)
{
    fs::create_directory(root);
    if (!writeLargeInfZip(root / "lines.zip")) {
        std::printf("64 MB INF: the zip cannot be written\n");
        return false;
    }
    const tollen::bench::ChildRun run =
        tollen::bench::runChild({TOLLEN_INDEX_PROGRAM, "--quiet", root.string()});
    std::printf("64 MB INF: %s, %.3f s, peak resident memory %.1f MB (at most %ld MB)\n",
                run.ok ? "read" : "tollen-index failed", run.wallSeconds,
                static_cast<double>(run.peakKilobytes) / 1024, kMostLargeInfKilobytes / 1024);
    return run.ok && run.peakKilobytes <= kMostLargeInfKilobytes;
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "tollen-index-benchmark-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path base = pattern;
    const fs::path root = base / "db";
    fs::create_directory(root);
    const std::vector<std::string> files = generate(root);
    catAll(files); // the page cache holds the folder from here on, for every contender alike
    // Trees of earlier rounds are put aside, not removed, until the end: freshly freed inodes
    // and blocks would slow the next round's file creation on some file systems.
    const fs::path aside = base / "aside";
    fs::create_directory(aside);
    double worst = 0;
    for (int round = 1; round <= kRounds; ++round) {
        if (fs::exists(root / "DIRSTRUCT")) {
            fs::rename(root / "DIRSTRUCT", aside / std::to_string(round));
        }
        fs::remove(root / ".tollen-index-cache");
        int status = 0;
        const Timing first = timed([&] {
            status = run({TOLLEN_INDEX_PROGRAM, "--quiet", root.string()});
        });
        const Timing again = timed([&] {
            status |= run({TOLLEN_INDEX_PROGRAM, "--quiet", root.string()});
        });
        const Timing cat = timed([&] { catAll(files); });
        if (status != 0) {
            std::printf("tollen-index failed\n");
            fs::remove_all(base);
            return 1;
        }
        std::printf("round %d: cat %.3f s, first run %.3f s (%.2f x cat), re-run %.3f s; "
                    "processor time: cat %.3f s, first run %.3f s (%.2f x cat), re-run %.3f s\n",
                    round, cat.wall, first.wall, first.wall / cat.wall, again.wall, cat.processor,
                    first.processor, first.processor / cat.processor, again.processor);
        worst = std::max(worst, first.wall / cat.wall);
    }
    std::size_t indexFiles = 0;
    for (const auto &entry : fs::recursive_directory_iterator(root / "DIRSTRUCT")) {
        indexFiles += entry.is_regular_file() ? 1 : 0;
    }
    std::printf("tree: %zu index files\n", indexFiles);
    const bool largeInfFits = measureLargeInf(base / "large");
    fs::remove_all(base);
    std::printf("worst ratio: %.2f\n", worst);
    return largeInfFits ? 0 : 1;
}
