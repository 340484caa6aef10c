#include "builder/IndexBuilder.h"

#include "builder/DatabaseRoot.h"
#include "builder/IndexCache.h"
#include "builder/IndexTreeWriter.h"
#include "builder/PackageFinder.h"
#include "builder/PackageIndexer.h"
#include "builder/PackageProofs.h"
#include "core/FileDescriptor.h"
#include "database/PackageFiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <numeric>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>

namespace tollen::builder {
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

/// True when the package could not be read for a reason of the moment (permissions, memory),
/// not of its contents: it is read again on the next run.
bool readingFailed(const PackageIndex &index)
{
    return std::any_of(index.skipped.begin(), index.skipped.end(), [](const SkippedFile &file) {
        return file.reason == SkipReason::Unreadable || file.reason == SkipReason::ReadingFailed;
    });
}

/// The tree's files and the lists already in it, by package path.
struct TreeFiles
{
    IndexTreeWriter &writer;
    std::set<std::string> listedPackages;

    /// Adds the file list of a proved package, once.
    void addList(const PackageProof &proof)
    {
        if (!proof.failure && listedPackages.insert(proof.path).second) {
            // The list's path below the database root, without the tree's own folder.
            writer.addFile(
                database::fileListPath(proof.path).substr(2 + database::kIndexTreeName.size()),
                proof.fileList);
        }
    }
};

/// Takes each found package from the cache when it is unchanged and reads it otherwise, into
/// `fresh`; true when the lines of a package differ from those the cache holds for it (a package
/// the cache does not hold had none), or a package that had lines is gone.
bool gatherPackages(const PackageList &found, IndexCache &cache, IndexCache &fresh,
                    PackageProofs &proofs, BuildSummary &summary, BuildObserver &observer,
                    TreeFiles &tree)
{
    bool changed = false;
    summary.packages = found.packages.size();
    for (std::size_t number = 0; number < found.packages.size(); ++number) {
        const PackageFile &package = found.packages[number];
        const auto cached = cache.packages.find(package.remotePath);
        const bool known = cached != cache.packages.end();
        // A loose INF file's lines carry the proof of its folder, which any file in it changes.
        const std::string folderProof =
            package.kind == PackageKind::InfFile ? proofs.of(package).lineFields() : std::string();
        const bool unchanged =
            known && cached->second.stamp == package.stamp && cached->second.proof == folderProof;
        observer.packageStarted(number + 1, found.packages.size(), package.remotePath, unchanged);
        CachedPackage entry;
        if (unchanged) {
            entry = std::move(cached->second);
            ++summary.packagesFromCache;
        } else {
            entry.stamp = package.stamp;
            entry.proof = folderProof;
            entry.index = indexPackage(package.path, package.remotePath, package.kind);
            proofs.prove(package, entry.index);
            changed = changed || entry.lines() != (known ? cached->second.lines() : "");
        }
        tally(entry.index, summary, observer);
        const bool failed = readingFailed(entry.index);
        const auto kept = fresh.packages.emplace(package.remotePath, std::move(entry)).first;
        // The tree has the lines of the packages the cache keeps; the rest are dropped below.
        if (!failed) {
            tree.writer.add(kept->second.lines());
            if (!kept->second.lines().empty()) {
                tree.addList(proofs.of(package));
            }
        }
        if (changed) {
            tree.writer.startBuilding();
        }
    }
    for (const auto &[remotePath, package] : cache.packages) {
        changed = changed || (!package.lines().empty() && !fresh.packages.contains(remotePath));
    }
    for (const SkippedFile &unreadable : found.unreadable) {
        ++summary.skipped[static_cast<std::size_t>(unreadable.reason)];
        observer.fileSkipped(unreadable);
    }
    return changed;
}

/// Whether the root's tree says it holds `description`'s packages and INF files, as the tree
/// this run would write does.
bool describedAs(const fs::path &root, const database::DatabaseDescription &description)
{
    std::ifstream in(indexTreePath(root) / database::kDatabaseDescriptionName, std::ios::binary);
    std::string text(database::kLargestDescription + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    const database::DescriptionReading written = database::readDatabaseDescription(text);
    return written.description && written.description->packages == description.packages &&
           written.description->infFiles == description.infFiles;
}

/// Writes the tree of the packages' lines and records it in `fresh`.
Error writeTree(IndexTreeWriter &tree, IndexCache &fresh,
                const database::DatabaseDescription &description)
{
    TreeRecord record;
    if (Error error = tree.write(record, description)) {
        return error;
    }
    fresh.tree = std::move(record);
    return {};
}

} // namespace

std::uint64_t BuildSummary::skippedFiles() const
{
    return std::accumulate(skipped.begin(), skipped.end(), std::uint64_t{0});
}

BuildResult buildIndex(const fs::path &root, BuildObserver &observer, const BuildOptions &options)
{
    BuildResult result;
    BuildSummary &summary = result.summary;
    std::optional<FileDescriptor> lock;
    PackageList found;
    if ((result.error = checkRoot(root)) || (result.error = lockRoot(root, lock)) ||
        (result.error = findPackages(root, found))) {
        return result;
    }
    IndexCache cache = options.rebuild ? IndexCache{} : loadIndexCache(cachePath(root));
    IndexCache fresh;
    fresh.storage = cache.storage;
    FileDigests digests(cache.digests);
    PackageProofs proofs(found, digests);
    IndexTreeWriter writer(root);
    TreeFiles tree{writer, {}};
    const bool changed = gatherPackages(found, cache, fresh, proofs, summary, observer, tree);
    fresh.digests = digests.used();
    // A package that failed gave no lines; it is kept out of the cache so it is read again.
    std::erase_if(fresh.packages,
                  [](const auto &package) { return readingFailed(package.second.index); });
    // Whether this run read a package or a file the cache is to keep.
    const bool packagesRead =
        fresh.packages.size() != summary.packagesFromCache || digests.anyRead();
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const database::DatabaseDescription description{
        .builder = options.builder,
        .built =
            database::utcTimeText(std::chrono::duration_cast<std::chrono::seconds>(now).count()),
        .packages = tree.listedPackages.size(),
        .infFiles = summary.infFilesRead};

    const std::optional<TreeRecord> current = currentTreeRecord(root);
    if (!changed && cache.tree && current && sameTree(*cache.tree, *current) &&
        treeFilesAsRecorded(root, cache.tree->files) && describedAs(root, description)) {
        summary.treeUnchanged = true;
        summary.lines = cache.tree->lines;
        summary.indexFiles = cache.tree->indexFiles;
        // Packages read again for their new stamps gave the lines they gave before: the cache
        // learns the new stamps, so the next run does not read them again.
        if (!packagesRead) {
            return result;
        }
        fresh.tree = std::move(cache.tree);
    } else {
        observer.writingTree();
        if ((result.error = writeTree(writer, fresh, description))) {
            return result;
        }
        summary.lines = fresh.tree->lines;
        summary.indexFiles = fresh.tree->indexFiles;
    }
    if (const Error error = saveIndexCache(cachePath(root), fresh)) {
        summary.warning = (summary.treeUnchanged ? "" : "the tree was written, but ") +
                          std::string("the cache could not be saved: ") + error.message;
    }
    return result;
}

} // namespace tollen::builder
