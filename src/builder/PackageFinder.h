#pragma once
// Finds the driver packages under a database root: every .inf file and every .zip, .7z, .rar and
// .exe file in any folder, except the index tree and the builder's own files at the top, and
// beside them every other file, which the folder packages of loose INF files hold. Folder links
// are not followed (a link could loop or lead out of the root); file links are.

#include "builder/PackageIndex.h"
#include "builder/PackageIndexer.h"
#include "core/Error.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tollen::builder {

/// What tells whether a file is still the one read before. Its size and modification time are
/// not enough: copies made with cp -p, rsync, tar or unzip keep the old times, but a file put in
/// place gets a new change time, and most often a new inode.
struct FileStamp
{
    std::uint64_t size = 0;
    /// Modification and status change times in nanoseconds since 1970.
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileStamp &) const = default;
};

struct PackageFile
{
    /// The path below the root: "/" first, "/" as separator.
    std::string remotePath;
    std::filesystem::path path;
    PackageKind kind = PackageKind::InfFile;
    FileStamp stamp;
};

/// Any plain file below the root.
struct FoundFile
{
    std::string remotePath;
    std::filesystem::path path;
    FileStamp stamp;
};

struct PackageList
{
    /// Sorted by remote path.
    std::vector<PackageFile> packages;
    /// Every plain file, the packages too, sorted by remote path.
    std::vector<FoundFile> files;
    /// Folders and files that could not be listed or looked at.
    std::vector<SkippedFile> unreadable;
};

/// Lists the packages under `root`; an error when the root itself cannot be read.
Error findPackages(const std::filesystem::path &root, PackageList &list);

} // namespace tollen::builder
