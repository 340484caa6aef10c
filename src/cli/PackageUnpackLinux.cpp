#include "builder/ArchiveUnpack.h"
#include "cli/PackageUnpack.h"

namespace tollen::cli {

PackageUnpacking unpackPackage(const std::filesystem::path &archive,
                               const std::filesystem::path &folder)
{
    builder::ArchiveUnpacking unpacked = builder::unpackArchive(archive, folder);
    using Kind = builder::ArchiveUnpacking::Kind;
    switch (unpacked.kind) {
    case Kind::Unpacked:
        return {PackageUnpacking::Kind::Unpacked, std::move(unpacked.files), {}};
    case Kind::NotAnArchive:
        // An installer or a plain program: Windows runs it, nothing can unpack it.
        return {PackageUnpacking::Kind::KeptPacked, {}, "not an archive"};
    default:
        return {PackageUnpacking::Kind::Failed, {}, std::move(unpacked.problem)};
    }
}

} // namespace tollen::cli
