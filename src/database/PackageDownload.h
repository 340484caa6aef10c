#pragma once
// The downloads of whole packages that check themselves against the package's file list: the
// list fetched from its place in the index tree, then each file it names fetched into a local
// folder at its path there, each through a verified download. The list's paths have passed
// readFileList's checks, and every file is written below the local folder or not at all.

#include "database/PackageFiles.h"
#include "database/RemoteFiles.h"
#include "database/VerifiedDownload.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::database {

struct RemoteFileList
{
    enum class Kind {
        Found,
        /// The server has no list: a database older than the lists, whose files go unverified.
        Missing,
        /// The list is no list a package can have: `reason`.
        Refused,
        /// The transfer failed: `reason`.
        Failed,
    };
    Kind kind = Kind::Failed;
    std::vector<PackageFile> files;
    std::string reason;
};

/// The file list of the package at `packagePath`, fetched through `files`.
RemoteFileList fetchFileList(RemoteFiles &files, std::string_view packagePath);

/// The entry of `list` for the file at `remotePath` in the package at `packagePath`: the
/// archive's own for an archive, the file's path below the package's folder otherwise.
const PackageFile *listedFile(const std::vector<PackageFile> &list, std::string_view packagePath,
                              std::string_view remotePath);

struct PackageFileDownload
{
    PackageFile file;
    std::filesystem::path local;
    VerifiedDownload result;
};

/// Downloads every file of `list` (the list of the folder package at `packagePath`) into
/// `folder` at its path in the list; stops after the first that does not arrive complete and
/// matching. The results of the files tried, in the list's order.
std::vector<PackageFileDownload>
downloadPackageFiles(RemoteFiles &files, std::string_view packagePath,
                     const std::vector<PackageFile> &list, const std::filesystem::path &folder,
                     bool resume, const DownloadProgress &progress = {});

} // namespace tollen::database
