#pragma once
// Transfers: how the pieces fit.
//
// cFTP is the program's FTP session object: settings (transfer type, active or passive mode),
// the text of the last failure, and the operations the main window and other callers use.
// Under it FtpSession keeps one logged-in control connection (on libcurl, where CurlSession owns
// the handles, or on the Windows internet library), tracks the working directory and moves data
// pull style, so that cFTP can read and write in 255-byte chunks with one progress event each.
// Listings come back as raw LIST text and are read by FtpListing into cDirList / cDirItem. Inet
// is the HTTP control of the main window over the same service (HttpRequest), with local files
// served behind the same operations (FileResponse). Failures use the codes of TransferError.

#include "core/Error.h"
#include "core/TaggedValue.h"
#include "transfer/TransferOptions.h"
#include "transfer/cDirList.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace tollen::transfer {

class FtpSession;

class cFTP
{
public:
    /// The FileTransferProgress event: bytes moved so far and the size of the whole transfer.
    using ProgressHandler =
        std::function<void(std::int64_t lCurrentBytes, std::int64_t lTotalBytes)>;

    explicit cFTP(TransferOptions options = {});
    ~cFTP();
    cFTP(const cFTP &) = delete;
    cFTP &operator=(const cFTP &) = delete;

    /// The list of the last listing; an empty list is made at the first read when there is none.
    std::shared_ptr<cDirList> Directory();
    const std::string &GetLastErrorMessage() const { return m_lastError; }
    /// `sServer` is "name", "name:port", or either with "ftp://" or "ftps://" (explicit TLS).
    bool OpenConnection(const std::string &sServer, const std::string &sUser,
                        const std::string &sPassword);
    void CloseConnection();
    bool SimpleFTPPutFile(const std::string &sLocal, const std::string &sRemote);
    bool RenameFTPFile(const std::string &sExisting, const std::string &sNewName);
    bool CreateFTPDirectory(const std::string &sDirectory);
    bool RemoveFTPDirectory(const std::string &sDirectory);
    bool DeleteFTPFile(const std::string &sRemote);
    /// Chunked transfers; the names come back in the caller's variables without leading and
    /// trailing spaces. A download of a file larger than `iSizeLimit` bytes fails.
    bool FTPUploadFile(std::string &sLocal, std::string &sRemote);
    bool FTPDownloadFile(std::string &sLocal, std::string &sRemote,
                         std::int64_t iSizeLimit = std::numeric_limits<std::int64_t>::max());
    /// Where the bytes of a file read from the server go: `position` is where `bytes` lie in the
    /// file of `total` bytes. An error stops the transfer.
    using ChunkSink =
        std::function<Error(std::int64_t position, std::int64_t total, std::string_view bytes)>;
    enum class ReadResult { Done, NoSuchFile, Failed };
    /// Reads the file `sRemote` into `sink` from byte `iOffset` on (a restart offset), binary
    /// in large chunks with a progress event each; from its first byte when the server refuses
    /// the offset or the file is shorter than it.
    ReadResult FTPReadFile(const std::string &sRemote, std::int64_t iOffset, const ChunkSink &sink);
    /// Why the last FTPDownloadFile could not write its local file (naming the file, with the
    /// system's reason and code); no error when the local file was not at fault.
    const Error &localFileError() const { return m_localFileError; }
    bool SimpleFTPGetFile(const std::string &sLocal, const std::string &sRemote);
    std::string GetFTPDirectory();
    /// A Boolean tagged value: True when the server changed to the directory.
    TaggedValue SetFTPDirectory(const std::string &sDir);
    /// The size of the first entry matching `sFile` (each space stands for any one character);
    /// -1 when nothing matches (no failure recorded), -2 when the lookup failed.
    std::int32_t GetFTPFileSize(const std::string &sFile);
    /// The entries matching `sFilter` ("*" and "?" wildcards); nullptr when nothing matched or
    /// the lookup failed.
    std::shared_ptr<cDirList> GetDirectoryListing(const std::string &sFilter);
    void SetTransferASCII() { m_transferType = TransferType::Ascii; }
    void SetTransferBinary() { m_transferType = TransferType::Binary; }
    void SetModeActive() { m_connectMode = ConnectMode::Active; }
    void SetModePassive() { m_connectMode = ConnectMode::Passive; }

    void setFileTransferProgress(ProgressHandler handler) { m_progress = std::move(handler); }
    /// Called after every chunk of a chunked transfer so the user interface stays responsive.
    void setEventLoopYield(std::function<void()> yield) { m_yield = std::move(yield); }

    /// Local time of a file time (100-nanosecond intervals since 1601-01-01 UTC), as days
    /// since 1899-12-30.
    static DateTime ConvertFileTime(std::int64_t fileTime);

private:
    enum class TransferType { Ascii = 1, Binary = 2 };
    enum class ConnectMode { Active = 0, Passive = 0x08000000 };

    void ReportError(const Error &error, const std::string &sOperation);
    /// The 64-bit size behind GetFTPFileSize (same -1 and -2 results).
    std::int64_t fileSize(const std::string &sFile);
    bool runCommands(const std::vector<std::string> &commands, const std::string &sOperation);
    bool binary() const { return m_transferType == TransferType::Binary; }
    void chunkDone(std::int64_t current, std::int64_t total);
    /// The chunks of the download begun at byte `current`, to its end; false with the failure
    /// reported when a read, `sink` or the size limit stops it.
    bool readChunks(std::int64_t current, std::int64_t total, std::size_t chunkSize,
                    std::int64_t iSizeLimit, const ChunkSink &sink);

    std::unique_ptr<FtpSession> m_session;
    TransferType m_transferType = TransferType::Ascii;
    ConnectMode m_connectMode = ConnectMode::Active;
    std::string m_lastError;
    Error m_localFileError;
    std::shared_ptr<cDirList> m_directory;
    ProgressHandler m_progress;
    std::function<void()> m_yield;
};

} // namespace tollen::transfer
