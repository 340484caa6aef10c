#pragma once
// An archive of a driver package opened for reading with libarchive: the formats vendors ship
// packages in (zip, 7z, rar, cab, and a zip behind a self-extracting program's stub), the
// library's words for a failure, and a member's name as UTF-8.

#include "core/FileDescriptor.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct archive;
struct archive_entry;

namespace tollen::builder {

struct ArchiveFree
{
    void operator()(archive *handle) const;
};
using ArchiveHandle = std::unique_ptr<archive, ArchiveFree>;

/// The size of the blocks an archive is read in.
inline constexpr std::size_t kArchiveBlockSize = 64 * 1024;

/// An archive of a driver package, open from its construction to its end.
class DriverArchive
{
public:
    enum class State {
        Opened,
        /// libarchive knows no archive in the file.
        NotAnArchive,
        /// The file cannot be opened.
        Unreadable,
    };

    /// Opens `file` and reads the start of its archive.
    explicit DriverArchive(const std::filesystem::path &file);
    /// Reads the start of the archive in `bytes`, which stay in place while it is open.
    explicit DriverArchive(std::string_view bytes);

    State state() const { return m_state; }
    /// Why the archive is not open.
    const std::string &problem() const { return m_problem; }
    archive *handle() const { return m_handle.get(); }

private:
    /// Makes the reader with every format a package comes in and opens it with `open`.
    template <class Open> void start(Open open);

    FileDescriptor m_file;
    ArchiveHandle m_handle;
    State m_state = State::Opened;
    std::string m_problem;
};

/// What libarchive says of its last failure.
std::string archiveErrorText(archive *handle);

/// The member's name as UTF-8: libarchive's conversion when it has one, else the raw bytes read
/// as the program reads any file text.
std::string archiveMemberName(archive_entry *entry);

} // namespace tollen::builder
