// fetch [SOURCE] --to DIR: the drivers of a machine in one folder. The devices are matched as
// match matches them; the best row of each device asked for names a package, and each package
// is fetched once (PackageFetch.h) however many devices share it. The folder then holds a
// record of what each device got (tollen-fetch.json) and the commands that install it on
// Windows (README.txt).

#include "cli/ArgumentText.h"
#include "cli/Commands.h"
#include "cli/ConcurrentFetch.h"
#include "cli/DeviceMatching.h"
#include "cli/FetchRecord.h"
#include "cli/Output.h"
#include "cli/PackageFetch.h"
#include "cli/PackageFolderName.h"
#include "core/AtomicFileWriter.h"
#include "core/PathText.h"
#include "database/PackageFiles.h"
#include "ui/ProtocolChoice.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

namespace tollen::cli {

namespace {

namespace fs = std::filesystem;

/// The packages to fetch, each once, and the package of each device (none when no driver fits).
struct FetchPlan
{
    std::vector<PackageToFetch> packages;
    std::vector<FetchedPackage> fetched;
    std::vector<std::optional<std::size_t>> packageOfDevice;
};

FetchPlan planPackages(const std::vector<DeviceReport> &shown)
{
    FetchPlan plan;
    std::map<std::string, std::size_t> known;
    for (const DeviceReport &report : shown) {
        if (!report.match.found()) {
            plan.packageOfDevice.emplace_back();
            continue;
        }
        const database::MatchedDriver &best = report.match.drivers.front();
        const std::string &rowPath = best.row[database::IndexField::RemotePath];
        const bool archived = best.row[database::IndexField::Type] == database::kArchivedType;
        std::string path = database::packagePath(rowPath, archived);
        const auto [place, added] = known.try_emplace(path, plan.packages.size());
        if (added) {
            std::string folder = packageFolderName(path);
            plan.packages.push_back(
                {std::move(path), archived, rowPath, best.proof, std::move(folder)});
        }
        plan.packageOfDevice.emplace_back(place->second);
    }
    return plan;
}

/// "12.5 MB" for a person's eye.
std::string megabytes(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

/// Packages fetched at once over HTTP (or from a file: tree): enough to keep a server's answers
/// and this machine's checking and unpacking going side by side, few enough to be fair to the
/// server. Over FTP one at a time: each transfer is a login of its own, and FTP servers often
/// allow an address only one or two.
constexpr std::size_t kPackagesAtOnce = 4;

/// The progress line of the fetch: packages done of how many, bytes so far and the rate.
class FetchProgressLine
{
public:
    explicit FetchProgressLine(StandardError &standardError)
        : m_standardError(standardError), m_start(std::chrono::steady_clock::now())
    {
    }

    void operator()(const FetchProgress &progress)
    {
        if (!m_standardError.isTerminal()) {
            return;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
        std::string text = "packages: " + std::to_string(progress.finished) + " of " +
                           std::to_string(progress.packages) + " done";
        if (progress.underWay != 0) {
            text += ", " + std::to_string(progress.underWay) + " under way";
        }
        text += ", " + megabytes(progress.bytes);
        if (seconds > 0) {
            text += ", " + megabytes(static_cast<std::uint64_t>(progress.bytes / seconds)) + "/s";
        }
        m_standardError.progress(text);
    }

private:
    StandardError &m_standardError;
    std::chrono::steady_clock::time_point m_start;
};

Outcome fetchPackages(CommandLineWindow &window, const fs::path &folder, FetchPlan &plan)
{
    std::size_t failed = 0;
    bool mismatch = false;
    FetchProgressLine progressLine(window.standardError());
    const FetchEvents events{[&](std::size_t, const FetchedPackage &fetched) {
                                 if (fetched.isThere()) {
                                     return;
                                 }
                                 window.standardError().message("tollen-cli: " + fetched.reason);
                                 mismatch =
                                     mismatch || fetched.kind == FetchedPackage::Kind::Mismatch;
                                 ++failed;
                             },
                             std::ref(progressLine)};
    const NetworkSettings settings =
        NetworkSettings::of(window.controls(), window.transferOptions());
    plan.fetched =
        fetchConcurrently(settings, folder, plan.packages,
                          settings.protocol == ui::kFtpOption ? 1 : kPackagesAtOnce, events);
    window.standardError().endProgress();
    if (failed == 0) {
        return {};
    }
    return {ExitCode::TransferFailed,
            std::to_string(failed) + " of " + std::to_string(plan.packages.size()) +
                " packages could not be fetched" + (mismatch ? " or did not match" : "")};
}

/// tollen-fetch.json and README.txt, each replaced whole.
Outcome writeRecords(const fs::path &folder, const std::vector<DeviceReport> &shown,
                     const FetchPlan &plan)
{
    std::vector<FetchedDevice> devices;
    for (std::size_t index = 0; index < shown.size(); ++index) {
        const auto package = plan.packageOfDevice[index];
        devices.push_back({&shown[index], package ? &plan.packages[*package] : nullptr,
                           package ? &plan.fetched[*package] : nullptr});
    }
    for (const auto &[name, text] : {std::pair{"tollen-fetch.json", fetchRecordText(devices)},
                                     std::pair{"README.txt", installNotesText()}}) {
        if (const Error written = writeFileAtomically(folder / name, text)) {
            return {ExitCode::Unreadable, written.message};
        }
    }
    return {};
}

Table summaryTable(const FetchPlan &plan)
{
    Table table{{"Folder", "Package", "Files", "Bytes", "Result", "Note"},
                {},
                {ColumnKind::Text, ColumnKind::Text, ColumnKind::Number, ColumnKind::Number,
                 ColumnKind::Text, ColumnKind::Text}};
    for (std::size_t index = 0; index < plan.packages.size(); ++index) {
        const FetchedPackage &fetched = plan.fetched[index];
        std::uint64_t bytes = 0;
        for (const database::PackageFile &file : fetched.files) {
            bytes += file.digest.size;
        }
        table.rows.push_back({plan.packages[index].folder, plan.packages[index].path,
                              std::to_string(fetched.files.size()), std::to_string(bytes),
                              std::string(describe(fetched.kind)), fetched.reason});
    }
    return table;
}

Outcome fetch(CommandLine line, CommandLineWindow &window, FetchPlan &plan)
{
    if (!line.to) {
        return {ExitCode::Usage, "fetch needs --to DIR (see 'tollen-cli fetch --help')"};
    }
    if (const auto problem = argumentProblem("DIR", *line.to, kPathLimit)) {
        return {ExitCode::Usage, *problem};
    }
    if (!line.all && !line.updates) {
        line.missing = true;
    }
    if (line.all) {
        line.missing = line.updates = false;
    }
    const fs::path folder = pathFromUtf8(*line.to);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        return {ExitCode::Unreadable,
                "cannot make the folder " + *line.to + (error ? ": " + error.message() : "")};
    }
    std::vector<DeviceReport> shown;
    const Outcome matched = matchDevices(line, window, shown);
    if (matched.code != ExitCode::Success && matched.code != ExitCode::PartlyFound &&
        matched.code != ExitCode::NothingFound) {
        return matched;
    }
    plan = planPackages(shown);
    const Outcome fetched = fetchPackages(window, folder, plan);
    if (Outcome written = writeRecords(folder, shown, plan); written.code != ExitCode::Success) {
        return written;
    }
    return fetched.code != ExitCode::Success ? fetched : matched;
}

} // namespace

Outcome runFetch(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    FetchPlan plan;
    const Outcome outcome = fetch(line, window, plan);
    const Table table = summaryTable(plan);
    // The packages are shown whatever the exit code: those fetched are in the folder.
    if (line.format != OutputFormat::Json) {
        if (!table.rows.empty()) {
            output = line.format == OutputFormat::Text ? alignedText(table) : tabSeparated(table);
        }
        return outcome;
    }
    JsonWriter json;
    json.beginObject();
    writeFields(json, {{"folder", line.to}});
    json.key("packages");
    writeRows(json, table);
    writeMessage(json, outcome);
    json.endObject();
    output = json.text();
    return outcome;
}

} // namespace tollen::cli
