#pragma once
// What a driver database says of itself: DIRSTRUCT/tollen-database.json, written by tollen-index
// into the tree it builds and swapped in with it, read by `tollen-cli info` and by the command
// line to tell a database root from a folder that is none. A JSON object:
//
//   {"format": 1, "builder": "tollen-index 1.4.0", "built": "2026-12-07T23:41:05Z",
//    "packages": 200, "infFiles": 310, "lines": 4200, "indexFiles": 900}
//
// The reader takes what a later builder may add (members it does not know, of any JSON kind) and
// refuses everything else: text past kLargestDescription bytes, nesting past a few levels, a
// member named twice, a count that is no whole number, a format it cannot read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::database {

/// The file's name in the index tree, and its path below the database root.
inline constexpr std::string_view kDatabaseDescriptionName = "tollen-database.json";
inline constexpr std::string_view kDatabaseDescriptionPath = "/DIRSTRUCT/tollen-database.json";

/// The format this program writes and reads.
inline constexpr std::uint64_t kDescriptionFormat = 1;
/// The most bytes of a description the reader takes.
inline constexpr std::size_t kLargestDescription = 64 * 1024;

struct DatabaseDescription
{
    std::uint64_t format = kDescriptionFormat;
    /// The program that built the tree and its version: "tollen-index 1.4.0".
    std::string builder;
    /// When the tree was built, in UTC: "YYYY-MM-DDTHH:MM:SSZ".
    std::string built;
    /// The packages the tree proves (archives and folders of loose INF files with rows).
    std::uint64_t packages = 0;
    std::uint64_t infFiles = 0;
    std::uint64_t lines = 0;
    std::uint64_t indexFiles = 0;

    bool operator==(const DatabaseDescription &) const = default;
};

/// The file's text, one member a line.
std::string writeDatabaseDescription(const DatabaseDescription &description);

struct DescriptionReading
{
    std::optional<DatabaseDescription> description;
    /// Why the text was refused; empty when it was read.
    std::string problem;
};

DescriptionReading readDatabaseDescription(std::string_view text);

/// `time` (seconds since 1970) as the description writes it: "YYYY-MM-DDTHH:MM:SSZ".
std::string utcTimeText(std::int64_t time);

} // namespace tollen::database
