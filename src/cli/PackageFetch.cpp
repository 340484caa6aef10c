#include "cli/PackageFetch.h"

#include "cli/PackageFolderName.h"
#include "cli/PackageUnpack.h"
#include "core/AtomicFileWriter.h"
#include "core/PathText.h"
#include "database/PackageDownload.h"
#include "database/VerifiedDownload.h"

#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include <utility>

namespace tollen::cli {

namespace {

namespace fs = std::filesystem;
using Kind = FetchedPackage::Kind;

/// The receipt's first line: the proof the package was fetched against.
std::string proofLine(const std::optional<FileDigest> &proof)
{
    return proof ? proof->sha256 + "\"" + std::to_string(proof->size) : "unverified";
}

std::optional<std::string> readWholeFile(const fs::path &file)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) {
        return std::nullopt;
    }
    return text;
}

/// A failed download of `what` as the package's outcome.
FetchedPackage failedDownload(const database::VerifiedDownload &download, const std::string &what)
{
    switch (download.kind) {
    case database::VerifiedDownload::Kind::Mismatch:
        return {Kind::Mismatch, {}, what + " does not match the database: " + download.reason};
    case database::VerifiedDownload::Kind::NotWritable:
        return {Kind::NotWritable, {}, download.reason};
    default:
        return {Kind::Failed, {}, "download of " + what + " failed: " + download.reason};
    }
}

/// Removes the files an interrupted run left in `staging` that the list does not name (the
/// package has changed since), keeping those it does and their partial files.
void removeUnlisted(const fs::path &staging, const std::vector<database::PackageFile> &files)
{
    std::set<fs::path> kept;
    for (const database::PackageFile &file : files) {
        const fs::path path = staging / pathFromUtf8(file.path);
        kept.insert(path);
        kept.insert(database::partialPath(path));
    }
    std::error_code error;
    std::vector<fs::path> unlisted;
    for (auto entry = fs::recursive_directory_iterator(staging, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        if (!entry->is_directory() && !kept.contains(entry->path())) {
            unlisted.push_back(entry->path());
        }
    }
    for (const fs::path &path : unlisted) {
        fs::remove(path, error);
    }
}

/// Writes the fetch's own file `file` whole or not at all; `tag` marks its temporary file. There is
/// no wait for the disk: the file can be made again by fetching again.
Error writeOwnFile(const fs::path &file, std::string_view bytes, std::string_view tag)
{
    AtomicFileWriter writer = AtomicFileWriter::forOwnFile(file, tag);
    Error written = writer.open();
    if (!written) {
        written = writer.write(bytes);
    }
    if (!written) {
        written = writer.commit();
    }
    return written;
}

/// The name after the last "/".
std::string lastName(std::string_view path)
{
    return std::string(path.substr(path.rfind('/') + 1));
}

} // namespace

PackageFetcher::PackageFetcher(database::RemoteFiles &files, fs::path folder,
                               std::uint64_t mostArchiveBytesInMemory)
    : m_files(files), m_folder(std::move(folder)), m_work(m_folder / pathFromUtf8(kWorkFolder)),
      m_mostArchiveBytesInMemory(mostArchiveBytesInMemory)
{
}

fs::path PackageFetcher::receiptPath(const PackageToFetch &package) const
{
    return m_work / pathFromUtf8(package.folder + ".txt");
}

fs::path PackageFetcher::stagingPath(const PackageToFetch &package) const
{
    return m_work / pathFromUtf8(package.folder);
}

FetchedPackage PackageFetcher::fetch(const PackageToFetch &package, const PackageProgress &progress)
{
    if (auto files = filesThere(package)) {
        return {Kind::AlreadyThere, std::move(*files), {}};
    }
    const fs::path folder = m_folder / pathFromUtf8(package.folder);
    std::error_code error;
    fs::remove(receiptPath(package), error);
    fs::remove_all(folder, error);
    fs::create_directories(m_work, error);
    if (error) {
        return {Kind::NotWritable, {}, utf8FromPath(m_work) + ": " + error.message()};
    }
    FetchedPackage fetched =
        package.archived ? fetchArchive(package, progress) : fetchFolder(package, progress);
    if (fetched.kind == Kind::Mismatch) {
        // The package changed on the server: what came of it before is no part of it.
        fs::remove_all(stagingPath(package), error);
    }
    if (fetched.kind != Kind::Fetched) {
        return fetched;
    }
    fs::rename(stagingPath(package), folder, error);
    if (error) {
        return {Kind::NotWritable, {}, utf8FromPath(folder) + ": " + error.message()};
    }
    const std::string receipt =
        proofLine(package.proof) + "\r\n" + database::writeFileList(fetched.files);
    if (const Error written = writeOwnFile(receiptPath(package), receipt, "receipt")) {
        return {Kind::NotWritable, {}, written.message};
    }
    return fetched;
}

std::optional<std::vector<database::PackageFile>>
PackageFetcher::filesThere(const PackageToFetch &package) const
{
    const std::optional<std::string> receipt = readWholeFile(receiptPath(package));
    const std::string expected = proofLine(package.proof) + "\r\n";
    if (!receipt || !receipt->starts_with(expected)) {
        return std::nullopt;
    }
    database::FileListReading list =
        database::readFileList(std::string_view(*receipt).substr(expected.size()));
    if (!list.problem.empty()) {
        return std::nullopt;
    }
    const fs::path folder = m_folder / pathFromUtf8(package.folder);
    for (const database::PackageFile &file : list.files) {
        FileDigest digest;
        if (digestFile(folder / pathFromUtf8(file.path), digest) || digest != file.digest) {
            return std::nullopt;
        }
    }
    return std::move(list.files);
}

FetchedPackage PackageFetcher::fetchArchive(const PackageToFetch &package,
                                            const PackageProgress &progress)
{
    // The archive's own name, which a hostile line could make a path on Windows.
    const std::string name = windowsSafeName(lastName(package.path));
    const fs::path staging = stagingPath(package);
    const fs::path archive = m_work / pathFromUtf8(package.folder + "-" + name);
    std::error_code error;
    // What an interrupted unpacking left.
    fs::remove_all(staging, error);
    // A small archive the database proves is taken in memory: nothing is written only to be read
    // back, and it is too small to be worth continuing after an interruption.
    std::optional<std::string> bytes;
    database::VerifiedDownload download;
    if (package.proof && package.proof->size <= m_mostArchiveBytesInMemory) {
        database::VerifiedBytes taken =
            database::downloadVerifiedBytes(m_files, package.path, *package.proof, progress);
        download = std::move(taken.result);
        bytes = std::move(taken.bytes);
    } else {
        download = database::downloadVerified(m_files, package.path, archive, package.proof, true,
                                              progress);
    }
    if (download.kind != database::VerifiedDownload::Kind::Done) {
        return failedDownload(download, package.path);
    }
    PackageUnpacking unpacked =
        bytes ? unpackPackageInMemory(*bytes, staging) : unpackPackage(archive, staging);
    switch (unpacked.kind) {
    case PackageUnpacking::Kind::Unpacked:
        fs::remove(archive, error);
        return {Kind::Fetched, std::move(unpacked.files), {}};
    case PackageUnpacking::Kind::KeptPacked: {
        const fs::path kept = staging / pathFromUtf8(name);
        std::string problem;
        if (fs::create_directory(staging, error); error) {
            problem = utf8FromPath(staging) + ": " + error.message();
        } else if (bytes) {
            problem = writeOwnFile(kept, *bytes, "archive").message;
        } else if (fs::rename(archive, kept, error); error) {
            problem = utf8FromPath(kept) + ": " + error.message();
        }
        if (!problem.empty()) {
            return {Kind::NotWritable, {}, std::move(problem)};
        }
        return {Kind::Fetched, {{name, download.digest}}, "kept as it came: " + unpacked.reason};
    }
    case PackageUnpacking::Kind::Failed:
        break;
    }
    fs::remove(archive, error);
    return {Kind::Failed, {}, "cannot unpack " + package.path + ": " + unpacked.reason};
}

FetchedPackage PackageFetcher::listedFiles(const PackageToFetch &package)
{
    if (!package.proof) {
        // An older database: the package's list when the server has one, else the row's INF
        // file alone; nothing proves the list.
        database::RemoteFileList list = database::fetchFileList(m_files, package.path);
        switch (list.kind) {
        case database::RemoteFileList::Kind::Found:
            return {Kind::Fetched, std::move(list.files), "unverified"};
        case database::RemoteFileList::Kind::Missing:
            return {Kind::Fetched,
                    {{package.rowPath.substr(database::packageFolder(package.path).size()), {}}},
                    "unverified"};
        default:
            return {Kind::Failed, {}, "the file list of " + package.path + ": " + list.reason};
        }
    }
    if (package.proof->size > database::kMostListBytes) {
        return {Kind::Failed,
                {},
                "the file list of " + package.path + " is larger than any list may be"};
    }
    const database::VerifiedBytes download = database::downloadVerifiedBytes(
        m_files, database::fileListPath(package.path), *package.proof);
    if (download.result.kind != database::VerifiedDownload::Kind::Done) {
        return failedDownload(download.result, "the file list of " + package.path);
    }
    database::FileListReading list = database::readFileList(download.bytes);
    if (!list.problem.empty()) {
        return {
            Kind::Failed, {}, "the file list of " + package.path + " is refused: " + list.problem};
    }
    return {Kind::Fetched, std::move(list.files), {}};
}

FetchedPackage PackageFetcher::fetchFolder(const PackageToFetch &package,
                                           const PackageProgress &progress)
{
    FetchedPackage listed = listedFiles(package);
    if (listed.kind != Kind::Fetched) {
        return listed;
    }
    std::uint64_t total = 0;
    for (const database::PackageFile &file : listed.files) {
        total += file.digest.size;
    }
    const fs::path staging = stagingPath(package);
    removeUnlisted(staging, listed.files);
    std::uint64_t done = 0;
    const database::DownloadProgress fileProgress = [&](std::uint64_t received, std::uint64_t) {
        progress(done + received, total);
    };
    for (database::PackageFile &file : listed.files) {
        const fs::path target = staging / pathFromUtf8(file.path);
        if (file.digest.sha256.empty()) {
            // The INF file of an older database's row, with nothing to check it against.
            std::error_code error;
            fs::create_directories(staging, error);
            const database::VerifiedDownload download = database::downloadVerified(
                m_files, package.rowPath, target, std::nullopt, true, fileProgress);
            if (download.kind != database::VerifiedDownload::Kind::Done) {
                return failedDownload(download, package.rowPath);
            }
            file.digest = download.digest;
            continue;
        }
        // A file an interrupted run finished is not fetched again.
        FileDigest there;
        if (digestFile(target, there) || there != file.digest) {
            const std::vector<database::PackageFileDownload> downloads =
                database::downloadPackageFiles(m_files, package.path, {file}, staging, true,
                                               fileProgress);
            const database::VerifiedDownload &download = downloads.front().result;
            if (download.kind != database::VerifiedDownload::Kind::Done) {
                return failedDownload(download, database::packageFolder(package.path) + file.path);
            }
        }
        done += file.digest.size;
    }
    return listed;
}

} // namespace tollen::cli
