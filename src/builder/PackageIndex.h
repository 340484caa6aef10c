#pragma once
// What one driver package (a loose INF file or an archive) gives the index: its lines, and the
// files and IDs it could not give lines for, with the reasons. The builder keeps these per
// package, so a package that has not changed since the last run is not read again.

#include "database/IdPlacement.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::builder {

enum class SkipReason : std::uint8_t {
    Unreadable,
    /// Reading the package threw (memory ran out, or anything else went wrong inside it).
    ReadingFailed,
    NameNotUtf8,
    /// A quote, CR or LF in the path, which an index line cannot carry.
    NameNotInLine,
    /// The download flow would take an earlier part of the archive's path for the archive.
    ArchiveSplitTooEarly,
    TooLarge,
    UnclosedSectionName,
    NoManufacturerSection,
    NoModelLines,
    TooManyLines,
    UnsafeMemberPath,
    MemberUnreadable,
    DamagedArchive,
    /// A loose INF file at the database root, whose package would be the whole database.
    InfAtDatabaseRoot,
    /// The package's file list names a file no client could take (see PackageProofs.h).
    FileListRefused,
};
inline constexpr std::size_t kSkipReasonCount = 15;

/// The reason in words, for the summary and the --verbose list.
std::string_view describe(SkipReason reason);

struct SkippedFile
{
    /// The path below the database root, as a remote path would name it.
    std::string path;
    SkipReason reason = SkipReason::Unreadable;
    /// What the system or the archive library said, when it said something.
    std::string detail;

    bool operator==(const SkippedFile &) const = default;
};

struct RefusedId
{
    /// The INF file's path below the database root.
    std::string path;
    std::string hardwareId;
    database::IdPlacementResult reason = database::IdPlacementResult::EmptyPart;

    bool operator==(const RefusedId &) const = default;
};

struct PackageIndex
{
    /// The package's index lines whose ID is placed, each once, in byte order, each followed by
    /// a line feed (a line never holds one of its own). One text per package keeps a large
    /// database's lines in few allocations.
    std::string lines;
    std::uint32_t infFilesRead = 0;
    /// Distinct IDs (per INF file) without a "\", which go nowhere.
    std::uint32_t idsWithoutBus = 0;
    std::vector<SkippedFile> skipped;
    std::vector<RefusedId> refused;

    bool operator==(const PackageIndex &) const = default;

    std::size_t lineCount() const;
};

/// Calls `receive` with each line of a package's lines text, without its line feed.
template <typename Receive> void forEachLine(std::string_view lines, Receive receive)
{
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        receive(lines.substr(0, end));
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    }
}

inline std::size_t PackageIndex::lineCount() const
{
    std::size_t count = 0;
    forEachLine(lines, [&](std::string_view) { ++count; });
    return count;
}

} // namespace tollen::builder
