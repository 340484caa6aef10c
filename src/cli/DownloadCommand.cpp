// download REMOTE-PATH [-o FILE|DIR] [--continue]: the package at a Remote Path, each file
// checked against the package's file list when the database has one. An archive or any other
// file is saved as one file; the path of a loose INF file brings its whole folder package.

#include "cli/ArgumentText.h"
#include "cli/Commands.h"
#include "cli/FileChecks.h"
#include "cli/Output.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "database/PackageDownload.h"
#include "ui/DownloadDestination.h"
#include "ui/DownloadRules.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace tollen::cli {

namespace {

namespace fs = std::filesystem;
using database::VerifiedDownload;

/// What the command brought: one row per file.
struct DownloadReport
{
    /// The folder of a folder package; empty for a single file.
    fs::path folder;
    std::vector<std::vector<std::string>> rows;
};

/// Where a single file goes: -o as given, or under its own name in the folder -o names or in
/// the current folder.
fs::path saveTarget(const std::optional<std::string> &output, const std::string &name)
{
    std::error_code ignored;
    if (!output) {
        return pathFromUtf8(name);
    }
    if (fs::is_directory(pathFromUtf8(*output), ignored)) {
        return pathFromUtf8(*output) / pathFromUtf8(name);
    }
    return pathFromUtf8(*output);
}

std::string checkText(bool verified)
{
    return verified ? "verified" : "unverified";
}

/// How a verified download that did not end with its file ends the command.
Outcome failedDownload(const std::string &remotePath, const VerifiedDownload &result)
{
    switch (result.kind) {
    case VerifiedDownload::Kind::NotWritable:
        return {ExitCode::Unreadable, result.reason};
    case VerifiedDownload::Kind::Mismatch:
        return {ExitCode::TransferFailed,
                "download of " + remotePath +
                    " failed: the file does not match the database: " + result.reason};
    default:
        return {ExitCode::TransferFailed, "download of " + remotePath + " failed" +
                                              (result.reason.empty() ? "" : ": " + result.reason)};
    }
}

/// The digest the list gives the file; nullopt (unverified) when the server has no list. A
/// list that cannot be fetched or read ends the command.
std::optional<Outcome> listedDigest(const std::string &remotePath,
                                    const database::RemoteFileList &list,
                                    const std::string &packagePath,
                                    std::optional<FileDigest> &digest)
{
    using Kind = database::RemoteFileList::Kind;
    if (list.kind == Kind::Missing) {
        return std::nullopt;
    }
    if (list.kind != Kind::Found) {
        return Outcome{ExitCode::TransferFailed,
                       "download of " + remotePath + " failed: " + list.reason};
    }
    const database::PackageFile *entry = database::listedFile(list.files, packagePath, remotePath);
    if (entry == nullptr) {
        return Outcome{ExitCode::TransferFailed, "download of " + remotePath +
                                                     " failed: the package's file list does not "
                                                     "name it"};
    }
    digest = entry->digest;
    return std::nullopt;
}

Outcome downloadFile(const CommandLine &line, database::RemoteFiles &files,
                     const std::string &remotePath, const fs::path &target, DownloadReport &report)
{
    if (const auto unwritable = unwritableFileProblem(target)) {
        return {ExitCode::Unreadable, "cannot write " + utf8FromPath(target) + ": " + *unwritable};
    }
    // Neither a folder nor a read-only file is replaced, as in the window.
    if (const Error problem = ui::destinationProblem(target)) {
        return {ExitCode::Unreadable, problem.message};
    }
    const bool archived = database::HasArchiveExtension(remotePath);
    const std::string packagePath = database::packagePath(remotePath, archived);
    std::optional<FileDigest> digest;
    if (auto failed = listedDigest(remotePath, database::fetchFileList(files, packagePath),
                                   packagePath, digest)) {
        return *failed;
    }
    const VerifiedDownload result =
        database::downloadVerified(files, remotePath, target, digest, line.resume);
    if (result.kind != VerifiedDownload::Kind::Done) {
        return failedDownload(remotePath, result);
    }
    report.rows.push_back({utf8FromPath(target), std::to_string(result.digest.size),
                           result.digest.sha256, checkText(digest.has_value())});
    return {};
}

Outcome downloadFolder(const CommandLine &line, database::RemoteFiles &files,
                       const std::string &remotePath, DownloadReport &report)
{
    const std::string packagePath = database::packagePath(remotePath, false);
    const std::string folderName = ui::archiveName(packagePath.substr(0, packagePath.size() - 1));
    if (!line.output && !ui::isUsableFileName(folderName)) {
        return {ExitCode::Usage, "REMOTE-PATH " + remotePath + " names no package folder"};
    }
    report.folder = pathFromUtf8(line.output ? *line.output : folderName);
    const database::RemoteFileList list = database::fetchFileList(files, packagePath);
    using Kind = database::RemoteFileList::Kind;
    if (list.kind == Kind::Missing) {
        // A database without lists: the INF file alone, unverified, as it always came.
        std::error_code ignored;
        fs::create_directories(report.folder, ignored);
        return downloadFile(line, files, remotePath,
                            report.folder / pathFromUtf8(ui::archiveName(remotePath)), report);
    }
    if (list.kind != Kind::Found) {
        return {ExitCode::TransferFailed, "download of " + remotePath + " failed: " + list.reason};
    }
    for (const database::PackageFileDownload &download : database::downloadPackageFiles(
             files, packagePath, list.files, report.folder, line.resume)) {
        if (download.result.kind != VerifiedDownload::Kind::Done) {
            return failedDownload(database::packageFolder(packagePath) + download.file.path,
                                  download.result);
        }
        report.rows.push_back({utf8FromPath(download.local),
                               std::to_string(download.result.digest.size),
                               download.result.digest.sha256, checkText(true)});
    }
    return {};
}

Outcome download(const CommandLine &line, CommandLineWindow &window, DownloadReport &report)
{
    const std::string &remotePath = line.arguments.at(0);
    if (const auto problem = argumentProblem("REMOTE-PATH", remotePath, kPathLimit)) {
        return {ExitCode::Usage, *problem};
    }
    if (line.output) {
        if (const auto problem = argumentProblem("FILE", *line.output, kPathLimit)) {
            return {ExitCode::Usage, *problem};
        }
    }
    // The file the window's download flow would fetch: the path cut after its archive.
    const std::string file = ui::archivePath(remotePath);
    const std::string name = ui::archiveName(file);
    if (!ui::isUsableFileName(name)) {
        return {ExitCode::Usage, "REMOTE-PATH " + remotePath + " names no package file"};
    }
    if (Outcome opened = window.open(std::nullopt, false); opened.code != ExitCode::Success) {
        return opened;
    }
    if (Outcome network = window.applyNetwork(line.network); network.code != ExitCode::Success) {
        return network;
    }
    window.beginAction();
    database::RemoteFiles &files = window.form().transfers();
    if (!database::HasArchiveExtension(file) && endsWithIgnoringCase(file, ".inf")) {
        return downloadFolder(line, files, file, report);
    }
    return downloadFile(line, files, file, saveTarget(line.output, name), report);
}

} // namespace

Outcome runDownload(const CommandLine &line, CommandLineWindow &window, std::string &output)
{
    DownloadReport report;
    const Outcome outcome = download(line, window, report);
    if (report.folder.empty()) {
        // One file: the record of its row.
        Table record{{"Remote Path", "File", "Bytes", "SHA-256", "Check"},
                     {{line.arguments.at(0)}},
                     {ColumnKind::Text, ColumnKind::Text, ColumnKind::Number}};
        if (outcome.code == ExitCode::Success && !report.rows.empty()) {
            for (std::string &cell : report.rows.front()) {
                record.rows[0].push_back(std::move(cell));
            }
        }
        output = renderRecord(line.format, record, outcome);
        return outcome;
    }
    Table files{{"File", "Bytes", "SHA-256", "Check"},
                outcome.code == ExitCode::Success ? std::move(report.rows)
                                                  : std::vector<std::vector<std::string>>{},
                {ColumnKind::Text, ColumnKind::Number}};
    output = renderListing(
        line.format,
        {{"Remote Path", line.arguments.at(0)}, {"Folder", utf8FromPath(report.folder)}}, "files",
        files, outcome);
    return outcome;
}

} // namespace tollen::cli
