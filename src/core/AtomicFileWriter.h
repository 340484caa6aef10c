#pragma once
// Files users keep (profiles, settings, downloads) are written to a temporary file beside the
// target and renamed over it only when complete, so a failure never leaves a half-written file
// nor destroys the file that was there before. A target that is a symbolic link is written
// through: the file the link leads to is replaced and the link stays. On Linux a replaced file
// keeps its permissions (and its owner where the process may give it away); Windows files take
// the access of their folder.
//
// A temporary file is marked in use for as long as its writer lives (a lock on Linux, the open
// file itself on Windows). A process killed while
// writing leaves its temporary file unlocked, and removeStaleTemporaries, which the next start
// (and every later write into the same folder) runs, removes it; files of writers still at work
// stay.

#include "core/Error.h"
#include "core/SystemFiles.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tollen {

class AtomicFileWriter
{
public:
    /// Read and write for everyone the process's mask allows, as files are usually made.
    static constexpr std::filesystem::perms kOrdinaryFile = std::filesystem::perms(0666);
    /// Read and write for the owner alone, for files that hold a password.
    static constexpr std::filesystem::perms kPrivateFile = std::filesystem::perms(0600);

    AtomicFileWriter() = default;
    /// `newFilePermissions` is the mode a file that does not exist yet is made with (less the
    /// process's mask); a file that is replaced keeps its own.
    explicit AtomicFileWriter(std::filesystem::path target,
                              std::filesystem::perms newFilePermissions = kOrdinaryFile);
    /// A writer for a download: it skips the wait for the disk before the rename and writes
    /// through a large buffer, since downloads arrive in pieces of a few hundred bytes.
    static AtomicFileWriter forDownload(std::filesystem::path target);
    /// A writer for a file a program keeps among data it does not own (the database builder's
    /// cache in a database root): a link planted under the target's name is replaced, never
    /// written through; the temporary file's name begins with ".tollen-" and `tag`, so the file
    /// can be told apart from the data; and there is no wait for the disk, since the file can be
    /// made again.
    static AtomicFileWriter forOwnFile(std::filesystem::path target, std::string_view tag);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;
    AtomicFileWriter(AtomicFileWriter &&other) noexcept;
    AtomicFileWriter &operator=(AtomicFileWriter &&other) noexcept;

    /// Creates the temporary file beside the target (beside the file it links to, for a link).
    Error open();
    Error write(std::string_view bytes);
    /// Flushes, closes and renames the temporary file over the target.
    Error commit();
    /// Closes and removes the temporary file; the target is left as it was.
    void discard();

private:
    Error flushBuffer();
    Error writeThrough(std::string_view bytes);

    std::filesystem::path m_target;
    std::filesystem::perms m_newFilePermissions = kOrdinaryFile;
    /// The target with its symbolic links followed: the file the rename replaces.
    std::filesystem::path m_resolved;
    std::filesystem::path m_temporary;
    /// Whether a link under the target's name is written through (or replaced itself).
    bool m_followLinks = true;
    /// What the temporary file's name holds after ".tollen-".
    std::string m_temporaryTag;
    std::FILE *m_file = nullptr;
    /// What keeps the temporary file marked in use until it is renamed or removed, since the
    /// stream is closed before the rename.
    FileHold m_hold;
    /// Whether commit() waits for the data to reach the disk before the rename. Downloads, which
    /// can be fetched again, skip the wait: the rename still guarantees that the target is
    /// either the old file or the whole new one.
    bool m_sync = true;
    /// A write buffer of the writer's own, in front of the C library's, so that a download
    /// written in pieces of a few hundred bytes reaches the disk in a few large writes; 0 writes
    /// each piece straight to the C library.
    std::size_t m_bufferSize = 0;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_buffered = 0;
};

/// Removes the temporary files in `folder` that no living writer holds: those left by a process
/// that ended while writing. Nothing else in the folder is touched.
void removeStaleTemporaries(const std::filesystem::path &folder);

/// Writes the whole file in one go through an AtomicFileWriter.
Error writeFileAtomically(
    const std::filesystem::path &target, std::string_view bytes,
    std::filesystem::perms newFilePermissions = AtomicFileWriter::kOrdinaryFile);

} // namespace tollen
