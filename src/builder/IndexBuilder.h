#pragma once
// The database builder: turns a folder of driver packages into the index tree the query reads.
//
// A run finds the packages under the root (PackageFinder), takes each unchanged one from the
// cache of the last run and reads the others (PackageIndexer), writes the tree of all their
// lines beside the old one and swaps it in (IndexTreeWriter), then keeps what it read in the
// cache (IndexCache). A package that could not be read is never kept, so the next run tries it
// again. Each line carries the proof of its package, and the tree holds each package's file list
// (PackageProofs) and the database's description (database/DatabaseDescription.h). A run that
// finds no package's lines changed and the tree as it left it writes nothing. The builder writes
// only the root's index tree and its own ".tollen-index" files.

#include "builder/PackageIndex.h"
#include "core/Error.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tollen::builder {

/// Hears how a run goes, for a progress line and the --verbose list.
class BuildObserver
{
public:
    virtual ~BuildObserver() = default;
    /// Package `number` of `total` (counting from 1) is next; `fromCache` when it is unchanged.
    virtual void packageStarted(std::size_t number, std::size_t total,
                                const std::string &remotePath, bool fromCache) = 0;
    virtual void fileSkipped(const SkippedFile &skipped) = 0;
    virtual void idRefused(const RefusedId &refused) = 0;
    /// The packages are read; the tree is written next.
    virtual void writingTree() = 0;
};

struct BuildSummary
{
    std::size_t packages = 0;
    std::size_t packagesFromCache = 0;
    std::uint64_t infFilesRead = 0;
    std::array<std::uint64_t, kSkipReasonCount> skipped{};
    std::uint64_t refusedIds = 0;
    std::uint64_t idsWithoutBus = 0;
    std::uint64_t lines = 0;
    std::uint64_t indexFiles = 0;
    /// True when nothing changed since the last run and the tree was left as it was.
    bool treeUnchanged = false;
    /// A problem that did not stop the run (the cache could not be saved).
    std::string warning;

    std::uint64_t skippedFiles() const;
};

struct BuildResult
{
    /// Set when the tree could not be written; the old tree is then as it was.
    Error error;
    BuildSummary summary;
};

struct BuildOptions
{
    /// Read every package and write the tree, whatever the cache of the last run says.
    bool rebuild = false;
    /// The builder's name and version, which the database's description records.
    std::string builder = "tollen-index";
};

/// Builds the index tree of the database at `root`.
BuildResult buildIndex(const std::filesystem::path &root, BuildObserver &observer,
                       const BuildOptions &options = {});

} // namespace tollen::builder
