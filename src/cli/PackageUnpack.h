#pragma once
// Unpacking a fetched archive into its package's folder, where the build can: the Linux build
// unpacks with the builder's safe unpacker (libarchive); the Windows build has no libarchive and
// keeps archives as they came. One file per system.

#include "database/PackageFiles.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::cli {

struct PackageUnpacking
{
    enum class Kind {
        /// `folder` holds the archive's files, listed in `files`.
        Unpacked,
        /// The archive was not unpacked (`reason`: not an archive, or this build unpacks none);
        /// the package is to be kept as it came.
        KeptPacked,
        /// The archive was refused or could not be unpacked (`reason`); `folder` is not there.
        Failed,
    };
    Kind kind = Kind::Unpacked;
    std::vector<database::PackageFile> files;
    std::string reason;
};

/// Unpacks `archive` into `folder`, which must not exist yet.
PackageUnpacking unpackPackage(const std::filesystem::path &archive,
                               const std::filesystem::path &folder);
/// Unpacks the archive in `bytes` into `folder`, which must not exist yet.
PackageUnpacking unpackPackageInMemory(std::string_view bytes, const std::filesystem::path &folder);

} // namespace tollen::cli
