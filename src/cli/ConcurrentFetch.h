#pragma once
// The packages of a fetch, several at once: a few workers, each with transfer routines of its
// own, take the packages in order. The server answers several requests at the same time, and
// what one package costs here (its digest, its unpacking) is done while another downloads. What
// happens is told on the calling thread, so whoever draws it needs no lock.

#include "cli/PackageFetch.h"
#include "cli/TransferRoutinesCopy.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace tollen::cli {

/// How far a concurrent fetch has come.
struct FetchProgress
{
    std::size_t finished = 0;
    std::size_t underWay = 0;
    std::size_t packages = 0;
    /// Bytes received or found in place so far, of every package.
    std::uint64_t bytes = 0;
};

struct FetchEvents
{
    /// A package is done (fetched, found in place, or failed).
    std::function<void(std::size_t index, const FetchedPackage &fetched)> finished;
    /// Now and then while packages are under way.
    std::function<void(const FetchProgress &progress)> progress;
};

/// Fetches `packages` into `folder` (DIR) with up to `workers` transfers at once, each through
/// transfer routines with `settings`; the outcomes are in the order of `packages`.
std::vector<FetchedPackage> fetchConcurrently(const NetworkSettings &settings,
                                              const std::filesystem::path &folder,
                                              const std::vector<PackageToFetch> &packages,
                                              std::size_t workers, const FetchEvents &events);

} // namespace tollen::cli
