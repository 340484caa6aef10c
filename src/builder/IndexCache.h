#pragma once
// What the last run read from each package, kept in the database root so a re-run reads only
// the packages that changed. A package is taken from the cache when its path and file stamp
// (size, modification and change times, inode) are those recorded; the cache also records the
// tree that run wrote, down to each index file's size and time, so a run that finds nothing
// changed leaves the tree alone only while it is as it was written. It keeps the digest of every
// file of the packages with its stamp too, so an unchanged file is not read again.
//
// The file is text with every free-form field written as its length, ":" and its bytes, so no
// byte of a file name or an INF file can break it. A cache that cannot be read in full, or that
// an older or newer builder wrote, is ignored: the run then reads every package.

#include "builder/FileDigests.h"
#include "builder/PackageFinder.h"
#include "builder/PackageIndex.h"
#include "core/Error.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::builder {

struct CachedPackage
{
    FileStamp stamp;
    /// What the package gave. For a package loaded from the cache file its lines text stays in
    /// the file (see storedLines) and index.lines is empty.
    PackageIndex index;
    /// The lines text as the cache file holds it, viewed where the file is mapped, so a run that
    /// finds nothing changed never copies the lines of a large database.
    std::string_view storedLines;
    /// The proof fields of the folder of a loose INF file when it was read (PackageProofs.h);
    /// empty for an archive, whose stamp stands for its proof.
    std::string proof;

    std::string_view lines() const { return index.lines.empty() ? storedLines : index.lines; }
    bool operator==(const CachedPackage &other) const;
};

/// One file of the index tree as the builder wrote it.
struct TreeFile
{
    /// Below the tree's top folder, "/" as separator.
    std::string path;
    std::uint64_t size = 0;
    /// Modification time in nanoseconds since 1970.
    std::int64_t modified = 0;

    bool operator==(const TreeFile &) const = default;
};

/// The index tree a run wrote: the identity and modification time of its top folder, every file
/// it wrote, and the figures of its summary.
struct TreeRecord
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t modified = 0;
    std::vector<TreeFile> files;
    std::uint64_t lines = 0;
    std::uint64_t indexFiles = 0;

    bool operator==(const TreeRecord &) const = default;
};

struct IndexCache
{
    /// By remote path.
    std::map<std::string, CachedPackage> packages;
    std::optional<TreeRecord> tree;
    DigestsByPath digests;
    /// Keeps the mapped cache file that the packages' storedLines view.
    std::shared_ptr<const void> storage;

    bool operator==(const IndexCache &other) const
    {
        return packages == other.packages && tree == other.tree && digests == other.digests;
    }
};

/// The cache in `file`; empty when there is none or it cannot be used.
IndexCache loadIndexCache(const std::filesystem::path &file);

/// Writes the cache whole, replacing the old one only when the new one is complete (an
/// AtomicFileWriter for the builder's own file).
Error saveIndexCache(const std::filesystem::path &file, const IndexCache &cache);

} // namespace tollen::builder
