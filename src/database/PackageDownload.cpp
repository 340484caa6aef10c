#include "database/PackageDownload.h"

#include "core/PathText.h"

#include <system_error>

namespace tollen::database {
namespace {

namespace fs = std::filesystem;

/// Whether `path` lies inside `folder` once links are followed (a link left in the folder that
/// leads elsewhere does not count as inside).
bool liesInside(const fs::path &path, const fs::path &folder)
{
    std::error_code error;
    const fs::path inner = fs::weakly_canonical(path, error);
    const fs::path outer = fs::weakly_canonical(folder, error);
    if (error) {
        return false;
    }
    const fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

VerifiedDownload refused(std::string reason)
{
    VerifiedDownload result;
    result.kind = VerifiedDownload::Kind::NotWritable;
    result.reason = std::move(reason);
    return result;
}

} // namespace

RemoteFileList fetchFileList(RemoteFiles &files, std::string_view packagePath)
{
    using Kind = RemoteFileList::Kind;
    RemoteFileList list;
    std::string text;
    const RemoteFiles::FileBytes collect = [&](std::uint64_t position, std::uint64_t,
                                               std::string_view bytes) -> Error {
        text.resize(position);
        if (text.size() + bytes.size() > kMostListBytes) {
            return {EFBIG, "the package's file list is larger than any list may be"};
        }
        text += bytes;
        return {};
    };
    if (!files.streamFile(fileListPath(packagePath), 0, collect)) {
        const transfer::TransferFailure &failure = files.lastFailure();
        list.kind = failure.kind == transfer::FailureKind::NotFound ? Kind::Missing : Kind::Failed;
        list.reason = failure.reason;
        return list;
    }
    FileListReading reading = readFileList(text);
    if (!reading.problem.empty()) {
        list.kind = Kind::Refused;
        list.reason = "the package's file list is refused: " + reading.problem;
        return list;
    }
    list.kind = Kind::Found;
    list.files = std::move(reading.files);
    return list;
}

const PackageFile *listedFile(const std::vector<PackageFile> &list, std::string_view packagePath,
                              std::string_view remotePath)
{
    const std::string folder = packageFolder(packagePath);
    if (!remotePath.starts_with(folder)) {
        return nullptr;
    }
    const std::string_view path = remotePath.substr(folder.size());
    for (const PackageFile &file : list) {
        if (file.path == path) {
            return &file;
        }
    }
    return nullptr;
}

std::vector<PackageFileDownload> downloadPackageFiles(RemoteFiles &files,
                                                      std::string_view packagePath,
                                                      const std::vector<PackageFile> &list,
                                                      const fs::path &folder, bool resume,
                                                      const DownloadProgress &progress)
{
    const std::string remoteFolder = packageFolder(packagePath);
    std::vector<PackageFileDownload> downloads;
    for (const PackageFile &file : list) {
        PackageFileDownload &download = downloads.emplace_back();
        download.file = file;
        download.local = folder / pathFromUtf8(file.path);
        std::error_code error;
        if (!liesInside(download.local, folder)) {
            download.result = refused(utf8FromPath(download.local) + " would lie outside " +
                                      utf8FromPath(folder));
        } else if (fs::create_directories(download.local.parent_path(), error); error) {
            download.result = refused("Cannot make " + utf8FromPath(download.local.parent_path()) +
                                      ": " + error.message());
        } else {
            if (!resume) {
                fs::remove(partialPath(download.local), error);
            }
            download.result = downloadVerified(files, remoteFolder + file.path, download.local,
                                               file.digest, true, progress);
        }
        if (download.result.kind != VerifiedDownload::Kind::Done) {
            break;
        }
    }
    return downloads;
}

} // namespace tollen::database
