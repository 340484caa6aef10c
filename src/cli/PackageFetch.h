#pragma once
// One driver package of a fetch, from the database into the fetch folder DIR: an archive is
// downloaded, proved by its digest and unpacked into DIR/<package>/; a folder package's file
// list is downloaded and proved, then each file it names, each proved by its own digest. The
// package is put together in DIR/.tollen-fetch/ and moved into place only when whole, so a
// folder under DIR's own name is always a complete package; the partial files an interrupted
// run leaves there are resumed by the next.
//
// Beside each package the fetch keeps a receipt (DIR/.tollen-fetch/<package>.txt): the proof
// the package was fetched against, then its files in the form of a package's file list. A later
// run takes a package as already there when the database still gives that proof and every file
// the receipt names still has its size and digest.

#include "core/Sha256.h"
#include "database/PackageFiles.h"
#include "database/RemoteFiles.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::cli {

struct PackageToFetch
{
    /// The package (database::packagePath): "/Vendor/pkg.zip" or "/Intel/LAN/".
    std::string path;
    bool archived = false;
    /// The Remote Path of a row of the package: a folder package without a file list (an older
    /// database) is its INF file alone.
    std::string rowPath;
    /// The row's proof; nullopt for an older database, whose packages are fetched unverified.
    std::optional<FileDigest> proof;
    /// The package's folder below DIR (packageFolderName).
    std::string folder;
};

struct FetchedPackage
{
    enum class Kind {
        Fetched,
        /// A run before fetched it, and it is still whole.
        AlreadyThere,
        /// A file did not match the database's digest; nothing of the package is kept.
        Mismatch,
        /// A download failed, or the package was refused (a hostile archive or file list).
        Failed,
        /// DIR could not be written.
        NotWritable,
    };
    Kind kind = Kind::Failed;
    /// The package's files below its folder, with their digests.
    std::vector<database::PackageFile> files;
    /// Why the package failed; or what is worth knowing of one fetched (an archive kept as it
    /// came).
    std::string reason;

    bool isThere() const { return kind == Kind::Fetched || kind == Kind::AlreadyThere; }
};

/// Bytes of the package there so far and its whole size (0 while unknown).
using PackageProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

class PackageFetcher
{
public:
    /// The folder of the fetch's own files below DIR.
    static constexpr std::string_view kWorkFolder = ".tollen-fetch";
    /// The largest archive taken in memory rather than through a partial file, unless told
    /// otherwise.
    static constexpr std::uint64_t kMostArchiveBytesInMemory = 8 * 1024 * 1024;

    /// Fetches through `files` into `folder` (DIR), which exists; archives the database proves
    /// are taken in memory up to `mostArchiveBytesInMemory`.
    PackageFetcher(database::RemoteFiles &files, std::filesystem::path folder,
                   std::uint64_t mostArchiveBytesInMemory = kMostArchiveBytesInMemory);

    FetchedPackage fetch(const PackageToFetch &package, const PackageProgress &progress);

private:
    /// The files of the package when a run before left it whole; nullopt otherwise.
    std::optional<std::vector<database::PackageFile>>
    filesThere(const PackageToFetch &package) const;
    FetchedPackage fetchArchive(const PackageToFetch &package, const PackageProgress &progress);
    FetchedPackage fetchFolder(const PackageToFetch &package, const PackageProgress &progress);
    /// The files of a folder package: its list, proved by the row's proof, or the row's INF.
    FetchedPackage listedFiles(const PackageToFetch &package);

    std::filesystem::path receiptPath(const PackageToFetch &package) const;
    std::filesystem::path stagingPath(const PackageToFetch &package) const;

    database::RemoteFiles &m_files;
    std::filesystem::path m_folder;
    std::filesystem::path m_work;
    std::uint64_t m_mostArchiveBytesInMemory;
};

} // namespace tollen::cli
