#pragma once
// The main window's transfer routines: the size query and the download of a file given by its
// path below the database root, over FTP through the window's cFTP object `q` or over HTTP
// through its HTTP control `Inet1`, as the network settings choose. They show progress in
// ProgressBar1 and Label9 and keep the window disabled while they work; Form1 owns one and
// forwards to it.

#include "transfer/Inet.h"
#include "transfer/YieldPacer.h"
#include "transfer/cFTP.h"
#include "ui/Form1Controls.h"

#include <cstdint>
#include <string>

namespace tollen::ui {

class TransferRoutines
{
public:
    /// Connects itself to q's FileTransferProgress event and event-loop yield.
    TransferRoutines(cFTP &q, Inet &Inet1, const Form1Controls &controls);

    /// Size in bytes over FTP; -1 when no connection could be made, the directory cannot be
    /// entered or nothing matched, -2 when the lookup failed otherwise.
    std::int32_t FTPGetFileSize(const std::string &strurl);
    /// 1 downloaded, 0 failed (also when the directory cannot be entered), -1 no connection;
    /// `strdestination` comes back trimmed.
    std::int16_t FTPDownloadFile(const std::string &strurl, std::string &strdestination);
    void q_FileTransferProgress(std::int64_t lCurrentBytes, std::int64_t lTotalBytes);

    /// Size in bytes, or -1 (-2 for a failed FTP lookup).
    std::int32_t GetFileSize(const std::string &strurl);
    /// 1 downloaded, 0 failed, -1 no FTP connection. Over HTTP `strurl` comes back as the full
    /// URL requested.
    std::int16_t DownloadFile(std::string &strurl, std::string &strdestination);
    // Both send `strurl` only when it stays below the base location (and, over FTP, fits a
    // command); otherwise they ask nothing and give -1 and 0. Over HTTP it is percent-encoded.

    /// The directory and the file name on the FTP server for a path below the database root,
    /// the base path being `basePath`.
    struct RemoteLocation
    {
        std::string directory;
        std::string file;
    };
    static RemoteLocation remoteLocation(const std::string &strurl, const std::string &basePath);

private:
    bool ftpChosen() const { return m_controls.Option1.selectedIndex() == 1; }
    bool sendable(const std::string &strurl) const;
    /// Opens q with the settings for a binary transfer; shows the failure box when no
    /// connection could be made.
    bool connect();
    /// Changes to the directory of `strurl` below the base path and gives the file name there;
    /// false when the directory cannot be entered.
    bool enterDirectoryOf(const std::string &strurl, std::string &file);
    /// Runs the request on Inet1 until its header is in; the status code, whatever the HTTP
    /// version of the answer (0 when none came).
    int httpStatus(const std::string &url);
    /// A yield between chunks; skipped when the last one ran a moment ago, which keeps a
    /// transfer fast without making the window less responsive.
    void chunkYield();
    /// Shows `percent` and "%" in Label9.
    void showPercent(std::int64_t percent);
    void showCaption(Label &label, const std::string &caption);

    cFTP &m_q;
    Inet &m_inet;
    Form1Controls m_controls;
    YieldPacer m_yieldPacer;
    std::int64_t m_shownPercent = -1;
    std::string m_percentText;
};

} // namespace tollen::ui
