#include "builder/ArchiveUnpack.h"
#include "cli/PackageUnpack.h"

namespace tollen::cli {

namespace {

PackageUnpacking packageUnpacking(builder::ArchiveUnpacking unpacked)
{
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

} // namespace

PackageUnpacking unpackPackage(const std::filesystem::path &archive,
                               const std::filesystem::path &folder)
{
    return packageUnpacking(builder::unpackArchive(archive, folder));
}

PackageUnpacking unpackPackageInMemory(std::string_view bytes, const std::filesystem::path &folder)
{
    return packageUnpacking(builder::unpackArchiveInMemory(bytes, folder));
}

} // namespace tollen::cli
