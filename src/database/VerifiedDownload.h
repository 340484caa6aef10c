#pragma once
// The download of one file of the driver database that proves itself and survives an
// interruption: the bytes go to "<target>.part" beside the target, never taken for a finished
// file; with `resume` a part left by an earlier run is continued where the server can (an HTTP
// range request, an FTP restart offset), otherwise fetched again from the start. When the whole
// file is there its digest decides: a file that matches the expected digest and size (or any
// file when none is expected, an older database) is renamed to the target; one that does not is
// removed, and nothing is left.

#include "core/Sha256.h"
#include "database/RemoteFiles.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tollen::database {

/// Bytes of the file there so far (with the part an earlier run left) and the file's whole size,
/// 0 when not known yet.
using DownloadProgress = std::function<void(std::uint64_t received, std::uint64_t total)>;

struct VerifiedDownload
{
    enum class Kind {
        /// The target holds the file; `digest` is its digest and size.
        Done,
        /// The file does not match the expected digest or size; `digest` is what came. Nothing
        /// is kept.
        Mismatch,
        /// The transfer failed: `reason`. With resume, the part stays for the next run.
        Failed,
        /// The part or the target could not be written: `reason`.
        NotWritable,
    };
    Kind kind = Kind::Failed;
    FileDigest digest;
    std::string reason;
    /// What kind of transfer failure a Failed download was (a missing file tells an older
    /// database without the file from a broken transfer).
    transfer::FailureKind failure = transfer::FailureKind::None;
    /// Bytes taken from a part an earlier run left (0 when the download started afresh).
    std::uint64_t resumedFrom = 0;
};

/// The name of the partial file of `target`: "<target>.part".
std::filesystem::path partialPath(const std::filesystem::path &target);

/// Downloads `remotePath` (below the database root) through `files` to `target`.
VerifiedDownload downloadVerified(RemoteFiles &files, const std::string &remotePath,
                                  const std::filesystem::path &target,
                                  const std::optional<FileDigest> &expected, bool resume,
                                  const DownloadProgress &progress = {});

struct VerifiedBytes
{
    VerifiedDownload result;
    /// The file, when the result is Done.
    std::string bytes;
};

/// Downloads `remotePath` into memory, proved as downloadVerified proves a file: for a small file
/// that is used at once (a package's file list, a small archive), which needs no part on disk.
/// At most `expected.size` bytes are taken.
VerifiedBytes downloadVerifiedBytes(RemoteFiles &files, const std::string &remotePath,
                                    const FileDigest &expected,
                                    const DownloadProgress &progress = {});

} // namespace tollen::database
