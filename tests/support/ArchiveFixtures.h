#pragma once
// Archives for the builder's tests and its benchmark, made at test time with libarchive's writer
// (no binary is kept in the repository).

#include <filesystem>
#include <string>
#include <vector>

namespace tollen::testing {

struct ArchiveMember
{
    /// The name as stored, separators and all ("PRO1000\\Winx64\\e1g.inf" as Windows writes it).
    std::string name;
    std::string bytes;
    /// Written without its size up front, as a zip made on the fly stores it (the size then
    /// follows the data).
    bool sizeUnknown = false;
};

enum class ArchiveFormat { Zip, SevenZip };

/// The bytes of an archive holding `members`; with a passphrase, a zip's members are encrypted.
std::string makeArchive(ArchiveFormat format, const std::vector<ArchiveMember> &members,
                        const std::string &passphrase = {});

/// A self-extracting program as vendors ship them: an executable stub with a zip behind it.
std::string makeSelfExtractingZip(const std::vector<ArchiveMember> &members);

} // namespace tollen::testing
