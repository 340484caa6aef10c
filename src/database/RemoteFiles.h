#pragma once
// The files of the driver database on the user's server, as the query reaches them: the size
// query and the download, which the window's transfer routines implement.

#include "transfer/TransferFailure.h"

#include <cstdint>
#include <limits>
#include <string>

namespace tollen::database {

class RemoteFiles
{
public:
    /// The size limit of a download not asked for by size.
    static constexpr std::int64_t kAnySize = std::numeric_limits<std::int64_t>::max();

    virtual ~RemoteFiles() = default;

    /// The size in bytes of a file given by its path below the database root; below 1 when it
    /// is missing or cannot be sized.
    virtual std::int32_t GetFileSize(const std::string &strurl) = 0;
    /// Copies the file to the local path; 0 on failure, also when the file would grow past
    /// `sizeLimit` bytes (the size the size query gave, which the user may have confirmed).
    virtual std::int16_t DownloadFile(std::string &strurl, std::string &strdestination,
                                      std::int64_t sizeLimit) = 0;
    /// Why the last size query or download failed; no failure after a success.
    virtual const transfer::TransferFailure &lastFailure() const = 0;
};

} // namespace tollen::database
