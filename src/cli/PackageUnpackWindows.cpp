#include "cli/PackageUnpack.h"

namespace tollen::cli {

PackageUnpacking unpackPackage(const std::filesystem::path &, const std::filesystem::path &)
{
    return {PackageUnpacking::Kind::KeptPacked, {}, "this build unpacks no archives"};
}

} // namespace tollen::cli
