#pragma once
// Reads the INF files inside a .zip, .7z, .rar or .exe archive with libarchive, never with an
// external program. Members are named with "/" as separator (archives made on Windows use "\"),
// nested archives are not opened, and a member that claims or inflates past the size limit is
// skipped without holding more than the limit in memory.

#include "builder/PackageIndex.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tollen::builder {

/// The largest INF file the builder reads, loose or inside an archive.
inline constexpr std::uint64_t kLargestInfFile = 256ULL * 1024 * 1024;

class ArchiveVisitor
{
public:
    virtual ~ArchiveVisitor() = default;
    /// An INF member and its bytes; `memberPath` is relative, "/"-separated, without "." parts.
    virtual void visitInf(const std::string &memberPath, std::string_view bytes) = 0;
    /// An INF member that cannot be read, with the reason and the library's words.
    virtual void skipInf(const std::string &memberPath, SkipReason reason,
                         const std::string &detail) = 0;
};

enum class ArchiveOutcome {
    Read,
    /// libarchive knows no archive in the file (an installer, a plain program, other data).
    NotAnArchive,
    /// The file cannot be opened.
    Unreadable,
    /// The archive broke off or is damaged past reading; what the visitor was given from it
    /// may be incomplete.
    Damaged,
};

struct ArchiveWalkResult
{
    ArchiveOutcome outcome = ArchiveOutcome::Read;
    std::string message;
};

/// Gives every INF member of the archive at `file` to `visitor`. Members larger than
/// `largestMember` bytes are skipped as too large.
ArchiveWalkResult walkArchive(const std::filesystem::path &file, ArchiveVisitor &visitor,
                              std::uint64_t largestMember = kLargestInfFile);

/// A member's path with "/" as separator and without empty or "." parts; empty when the path is
/// absolute, names a drive, or has a ".." part.
std::string safeMemberPath(std::string_view memberPath);

} // namespace tollen::builder
