#include "cli/PackageUnpack.h"

namespace tollen::cli {

namespace {

constexpr const char *kNoUnpacking = "this build unpacks no archives";

} // namespace

PackageUnpacking unpackPackage(const std::filesystem::path &, const std::filesystem::path &)
{
    return {PackageUnpacking::Kind::KeptPacked, {}, kNoUnpacking};
}

PackageUnpacking unpackPackageInMemory(std::string_view, const std::filesystem::path &)
{
    return {PackageUnpacking::Kind::KeptPacked, {}, kNoUnpacking};
}

} // namespace tollen::cli
