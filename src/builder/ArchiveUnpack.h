#pragma once
// Unpacks a downloaded driver archive into a folder of its own, for a folder of drivers Windows
// installs from. An archive comes from a server, so every member is distrusted: only plain files
// and folders are written, always below the folder (no absolute name, no drive, no ".." part),
// never a link, a device file or a pipe, never a name Windows cannot hold or two names that
// differ only in letter case, and never more members or bytes than a package's file list may
// name. A member that inflates past what it claims is stopped at the limit, not after it.
//
// The folder is made by the unpacker and holds the whole archive or nothing: on any refusal or
// failure it is removed again, so a half-unpacked package is never taken for a finished one.

#include "database/PackageFiles.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::builder {

struct UnpackLimits
{
    std::size_t mostMembers = database::kMostListedFiles;
    std::uint64_t mostBytes = database::kMostPackageBytes;
};

struct ArchiveUnpacking
{
    enum class Kind {
        /// Every member is in the folder; `files` lists them.
        Unpacked,
        /// libarchive knows no archive in the file (an installer, a plain program).
        NotAnArchive,
        /// The archive holds a member the unpacker refuses, or more than the limits allow.
        Refused,
        /// The archive cannot be read to its end (broken off, damaged, encrypted).
        Damaged,
        /// The folder or a file in it cannot be written.
        NotWritable,
    };
    Kind kind = Kind::Unpacked;
    /// The files written, relative to the folder, sorted by path, each with its digest.
    std::vector<database::PackageFile> files;
    /// Why the archive was not unpacked.
    std::string problem;
};

/// Unpacks the archive at `archive` into `folder`, which must not exist yet.
ArchiveUnpacking unpackArchive(const std::filesystem::path &archive,
                               const std::filesystem::path &folder,
                               const UnpackLimits &limits = {});
/// Unpacks the archive in `bytes` into `folder`, which must not exist yet.
ArchiveUnpacking unpackArchiveInMemory(std::string_view bytes, const std::filesystem::path &folder,
                                       const UnpackLimits &limits = {});

} // namespace tollen::builder
