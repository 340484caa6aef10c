#pragma once
// The files of the driver database on the user's server, as the query reaches them: the size
// query, the download, and the stream of a file's bytes from a given byte on that a verified
// download continues an interrupted one with; the window's transfer routines implement them.

#include "core/Error.h"
#include "transfer/TransferFailure.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

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
    /// Where the bytes of a streamed file go, in order: `position` is where `bytes` lie in the
    /// file and `total` is the whole file's size (0 when not known). The first call tells where
    /// the server began: the byte asked for, or 0 when it sends the whole file again. An error
    /// stops the transfer.
    using FileBytes =
        std::function<Error(std::uint64_t position, std::uint64_t total, std::string_view bytes)>;
    /// Sends the bytes of the file given by its path below the database root to `receive`,
    /// from byte `from` on where the server can continue there (an HTTP range request, an FTP
    /// restart offset), else from its start; false on failure (lastFailure says why, also when
    /// `receive` stopped it).
    virtual bool streamFile(const std::string &strurl, std::uint64_t from,
                            const FileBytes &receive) = 0;
    /// Why the last size query or download failed; no failure after a success.
    virtual const transfer::TransferFailure &lastFailure() const = 0;
};

} // namespace tollen::database
