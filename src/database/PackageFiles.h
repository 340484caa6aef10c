#pragma once
// What proves a driver package, shared by the builder that writes it and the downloads that check
// it, so the two can never disagree.
//
// An index line may carry two fields after its ninth: the SHA-256 digest (64 lower-case
// hexadecimal digits) and the size in bytes of the file that proves the row's package. Readers
// that know nine fields ignore them. For an Archived row that file is the archive itself; for a
// Folder row it is the package's file list.
//
// A package is the archive a Remote Path runs through, or the folder of a loose INF file with its
// sub-folders. The builder writes a file list for every package: one line per file, ended by
// CR LF, holding the file's path relative to the package's folder (packageFolder: "x64/e1d.sys"
// for "/Intel/LAN/x64/e1d.sys" in the package "/Intel/LAN/"), its size and its digest,
// separated like an index line's fields. The list lies
// in the index tree at a place made from the package's path alone (fileListPath), so a client
// fetches a whole package over HTTP, FTP or file: without listing a folder.

#include "core/Sha256.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::database {

/// The proof in the tenth and eleventh fields of an index line; nullopt when the line has no
/// tenth field (an older database) or the fields are not a digest and a whole number.
std::optional<FileDigest> linePackageProof(std::string_view line);

/// What the builder appends to a nine-field line to carry `proof`: separator, digest,
/// separator, size.
std::string packageProofFields(const FileDigest &proof);

/// The package of a row: for an Archived row the archive (archivePath: "/Vendor/pkg.zip"), for a
/// Folder row the INF file's folder, ending in "/" ("/Intel/LAN/").
std::string packagePath(std::string_view remotePath, bool archived);

/// The folder the files of a package's list are relative to: the package itself when it is a
/// folder ("/Intel/LAN/"), the archive's folder when it is an archive ("/Vendor/").
std::string packageFolder(std::string_view packagePath);

/// Where the package's file list lies below the database root:
/// "/DIRSTRUCT/tollen-packages/<first two digits>/<digest of packagePath>.txt". The digest
/// keeps any name (spaces, non-ASCII, a folder named like a list) from clashing with another.
std::string fileListPath(std::string_view packagePath);

/// The name of the index tree's folder of file lists; a bus of that name is no hardware bus.
inline constexpr std::string_view kFileListFolderName = "tollen-packages";

/// The most files and the most bytes in all that one package's list may name: a hostile list
/// cannot make a client fetch without end.
inline constexpr std::size_t kMostListedFiles = 100'000;
inline constexpr std::uint64_t kMostPackageBytes = 16ULL * 1024 * 1024 * 1024;
/// The longest list text taken: room for kMostListedFiles lines of long paths.
inline constexpr std::size_t kMostListBytes = 64 * 1024 * 1024;

struct PackageFile
{
    /// Relative to the package's folder, "/"-separated, no empty, "." or ".." part.
    std::string path;
    FileDigest digest;

    bool operator==(const PackageFile &) const = default;
};

/// The list's text: the files sorted by path (comparing bytes), one line each.
std::string writeFileList(std::vector<PackageFile> files);

struct FileListReading
{
    std::vector<PackageFile> files;
    /// Why the list was refused; empty when it was read. A refused list gives no files.
    std::string problem;
};

/// Reads a list's text. Refused: a line without three fields, a path that is empty, absolute,
/// holds a character a Windows file name cannot (\ : * ? < > | or a control character) or an
/// empty, "." or ".." part, a path named
/// twice (ignoring ASCII case, since Windows folders do), a size that is no whole number, a
/// digest that is not one, more than kMostListedFiles files or kMostPackageBytes in all.
FileListReading readFileList(std::string_view text);

} // namespace tollen::database
