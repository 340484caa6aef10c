#include "database/IndexBuilder.h"

#include "database/DatabaseRoot.h"
#include "database/FileDescriptor.h"
#include "database/IndexCache.h"
#include "database/IndexTreeWriter.h"
#include "database/PackageFinder.h"
#include "database/PackageIndexer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <sys/file.h>
#include <sys/stat.h>

namespace tollen::database {
namespace fs = std::filesystem;
namespace {

Error checkRoot(const fs::path &root)
{
    struct stat status
    {
    };
    if (::stat(root.c_str(), &status) != 0) {
        return Error{1, "cannot read " + root.string() + ": " + std::strerror(errno)};
    }
    if (!S_ISDIR(status.st_mode)) {
        return Error{1, root.string() + " is not a folder"};
    }
    return {};
}

/// Takes the root's lock, so that two runs never build the same tree at once.
Error lockRoot(const fs::path &root, std::optional<FileDescriptor> &lock)
{
    const fs::path path = lockPath(root);
    // Never through a link planted under the lock's name, which could make a file elsewhere.
    lock.emplace(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!*lock) {
        return Error{1, "cannot write in " + root.string() + ": " + std::strerror(errno)};
    }
    if (::flock(lock->get(), LOCK_EX | LOCK_NB) != 0) {
        return Error{1, errno == EWOULDBLOCK
                            ? "another tollen-index is building the index of " + root.string()
                            : "cannot lock " + path.string() + ": " + std::strerror(errno)};
    }
    return {};
}

void tally(const PackageIndex &index, BuildSummary &summary, BuildObserver &observer)
{
    summary.infFilesRead += index.infFilesRead;
    summary.idsWithoutBus += index.idsWithoutBus;
    summary.refusedIds += index.refused.size();
    for (const SkippedFile &skipped : index.skipped) {
        ++summary.skipped[static_cast<std::size_t>(skipped.reason)];
        observer.fileSkipped(skipped);
    }
    for (const RefusedId &refused : index.refused) {
        observer.idRefused(refused);
    }
}

bool sameTree(const TreeRecord &recorded, const TreeRecord &current)
{
    return recorded.device == current.device && recorded.inode == current.inode &&
           recorded.modified == current.modified;
}

/// Takes each found package from the cache when it is unchanged and reads it otherwise, into
/// `fresh`; true when a package was read, or one in the cache is gone.
bool gatherPackages(const PackageList &found, IndexCache &cache, IndexCache &fresh,
                    BuildSummary &summary, BuildObserver &observer)
{
    bool changed = cache.packages.size() != found.packages.size();
    summary.packages = found.packages.size();
    for (std::size_t number = 0; number < found.packages.size(); ++number) {
        const PackageFile &package = found.packages[number];
        const auto cached = cache.packages.find(package.remotePath);
        const bool unchanged = cached != cache.packages.end() &&
                               cached->second.size == package.size &&
                               cached->second.modified == package.modified;
        observer.packageStarted(number + 1, found.packages.size(), package.remotePath, unchanged);
        CachedPackage entry;
        if (unchanged) {
            entry = std::move(cached->second);
            ++summary.packagesFromCache;
        } else {
            entry.size = package.size;
            entry.modified = package.modified;
            entry.index = indexPackage(package.path, package.remotePath, package.kind);
            changed = true;
        }
        tally(entry.index, summary, observer);
        fresh.packages.emplace(package.remotePath, std::move(entry));
    }
    for (const SkippedFile &unreadable : found.unreadable) {
        ++summary.skipped[static_cast<std::size_t>(unreadable.reason)];
        observer.fileSkipped(unreadable);
    }
    return changed;
}

} // namespace

std::uint64_t BuildSummary::skippedFiles() const
{
    return std::accumulate(skipped.begin(), skipped.end(), std::uint64_t{0});
}

BuildResult buildIndex(const fs::path &root, BuildObserver &observer)
{
    BuildResult result;
    BuildSummary &summary = result.summary;
    std::optional<FileDescriptor> lock;
    PackageList found;
    if ((result.error = checkRoot(root)) || (result.error = lockRoot(root, lock)) ||
        (result.error = findPackages(root, found))) {
        return result;
    }
    IndexCache cache = loadIndexCache(cachePath(root));
    IndexCache fresh;
    fresh.storage = cache.storage;
    const bool changed = gatherPackages(found, cache, fresh, summary, observer);

    const std::optional<TreeRecord> current = currentTreeRecord(root);
    if (!changed && cache.tree && current && sameTree(*cache.tree, *current)) {
        summary.treeUnchanged = true;
        summary.lines = cache.tree->lines;
        summary.indexFiles = cache.tree->indexFiles;
        return result;
    }
    observer.writingTree();
    std::vector<std::string_view> packageLines;
    packageLines.reserve(fresh.packages.size());
    for (const auto &[remotePath, package] : fresh.packages) {
        packageLines.push_back(package.lines());
    }
    TreeRecord record;
    if ((result.error = writeIndexTree(root, packageLines, record))) {
        return result;
    }
    summary.lines = record.lines;
    summary.indexFiles = record.indexFiles;
    fresh.tree = record;
    if (const Error error = saveIndexCache(cachePath(root), fresh)) {
        summary.warning =
            "the tree was written, but the cache could not be saved: " + error.message;
    }
    return result;
}

} // namespace tollen::database
