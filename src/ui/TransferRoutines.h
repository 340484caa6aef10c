#pragma once
// The main window's transfer routines: the size query and the download of a file given by its
// path below the database root, over FTP through the window's cFTP object `q` or over HTTP
// through its HTTP control `Inet1`, as the network settings choose. They show progress in
// ProgressBar1 and Label9 and keep the window disabled while they work. Form1 owns one; they are
// the database query's remote files, and each size query or download leaves how it failed as a
// value (lastFailure).

#include "core/AtomicFileWriter.h"
#include "core/Error.h"
#include "database/RemoteFiles.h"
#include "transfer/HttpRange.h"
#include "transfer/Inet.h"
#include "transfer/TransferFailure.h"
#include "transfer/YieldPacer.h"
#include "transfer/cFTP.h"
#include "ui/Form1Controls.h"
#include "ui/ProtocolChoice.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tollen::ui {

/// The box shown when no FTP connection could be made.
inline constexpr std::string_view kFtpNoConnection = "FTP ERROR: Can't establish connection";

class TransferRoutines : public database::RemoteFiles
{
public:
    /// Why the last size query or download failed; none after a success. A local file that
    /// could not be written is named with the system's reason and code.
    const transfer::TransferFailure &lastFailure() const override { return m_failure; }

    /// Connects itself to q's FileTransferProgress event and event-loop yield.
    TransferRoutines(transfer::cFTP &q, transfer::Inet &Inet1, const Form1Controls &controls);

    /// Size in bytes over FTP; -1 when no connection could be made, the directory cannot be
    /// entered or nothing matched, -2 when the lookup failed otherwise.
    std::int32_t FTPGetFileSize(const std::string &strurl);
    /// 1 downloaded, 0 failed (also when the directory cannot be entered or the file is larger
    /// than `sizeLimit`), -1 no connection; `strdestination` comes back trimmed.
    std::int16_t FTPDownloadFile(const std::string &strurl, std::string &strdestination,
                                 std::int64_t sizeLimit = kAnySize);
    void q_FileTransferProgress(std::int64_t lCurrentBytes, std::int64_t lTotalBytes);

    /// Size in bytes, or -1 (-2 for a failed FTP lookup). When no HTTP answer comes at all, a
    /// box says why, as the FTP routines' box says that no connection could be made.
    std::int32_t GetFileSize(const std::string &strurl) override;
    /// 1 downloaded, 0 failed, -1 no FTP connection. Over HTTP `strurl` comes back as the full
    /// URL requested. A file that would grow past `sizeLimit` bytes (the size a size query gave)
    /// fails there. A destination that is a folder or a read-only file is not replaced.
    std::int16_t DownloadFile(std::string &strurl, std::string &strdestination,
                              std::int64_t sizeLimit = kAnySize) override;
    /// The bytes of the file from byte `from` on, or from its start where the server cannot
    /// continue there (see RemoteFiles).
    bool streamFile(const std::string &strurl, std::uint64_t from,
                    const FileBytes &receive) override;
    // All three send `strurl` only when it stays below the base location (and, over FTP, fits a
    // command); otherwise they ask nothing and give -1 and 0. Over HTTP it is percent-encoded.

    /// The directory and the file name on the FTP server for a path below the database root,
    /// the base path being `basePath`.
    struct RemoteLocation
    {
        std::string directory;
        std::string file;
    };
    static RemoteLocation remoteLocation(const std::string &remotePath,
                                         const std::string &basePath);

private:
    bool ftpChosen() const { return ui::ftpChosen(m_controls.Option1); }
    bool sendable(const std::string &remotePath) const;
    /// Opens q with the settings for a binary transfer; shows the failure box when no
    /// connection could be made.
    bool connect();
    /// Changes to the directory of `remotePath` below the base path and gives the file name there;
    /// false when the directory cannot be entered.
    bool enterDirectoryOf(const std::string &remotePath, std::string &file);
    /// Runs a request for the file from byte `start` on Inet1 until its header is in; the part
    /// of the file the answer holds, nothing when it holds none that was asked for.
    std::optional<transfer::HttpPart> requestPart(const std::string &url, std::int64_t start);
    /// The HTTP download of `url`, part by part, into the file `destinationName`; true when it
    /// is complete.
    bool httpDownload(const std::string &url, const std::string &destinationName,
                      std::int64_t sizeLimit);
    /// The HTTP transfer of `url` from byte `from` on (from its start when the server sends the
    /// whole file), part by part, each piece of at most `chunkSize` bytes to `receive`; true
    /// when it is complete.
    bool httpTransfer(const std::string &url, std::int64_t from, std::int64_t sizeLimit,
                      std::size_t chunkSize, const FileBytes &receive);
    /// Reads the body of the answer to `part` into `receive`, counting the position `received`
    /// on; false when the body fails, goes past the part, or past `sizeLimit` bytes of the file.
    bool readPart(const transfer::HttpPart &part, std::int64_t total, std::int64_t sizeLimit,
                  std::size_t chunkSize, const FileBytes &receive, std::int64_t &received);
    /// The FTP transfer behind streamFile.
    bool ftpTransfer(const std::string &strurl, std::uint64_t from, const FileBytes &receive);
    /// Keeps why the transfer failed; false, for the caller to give back.
    bool fail(transfer::FailureKind kind, std::string reason);
    /// A failure the routines found in the server's answer, named with the URL.
    bool refuseAnswer(const Error &error);
    /// Completes the failure of an HTTP size query or download from what Inet1 last saw: no
    /// answer, a broken transfer, or the server's status.
    void judgeHttpFailure();
    /// Keeps the failure of an FTP size query or download that found no file.
    void ftpNotFound();
    /// A yield between chunks; skipped when the last one ran a moment ago, which keeps a
    /// transfer fast without making the window less responsive.
    void chunkYield();
    /// Shows `percent` and "%" in Label9.
    void showPercent(std::int64_t percent);
    void showCaption(controls::Label &label, const std::string &caption);

    transfer::cFTP &m_q;
    transfer::Inet &m_inet;
    Form1Controls m_controls;
    transfer::YieldPacer m_yieldPacer;
    std::int64_t m_shownPercent = -1;
    std::string m_percentText;
    transfer::TransferFailure m_failure;
};

} // namespace tollen::ui
