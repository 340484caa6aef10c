#pragma once
// What the user does with a driver result row in ListView2: a click copies the row's download
// link to the clipboard; a double click or Enter opens the folder of a plain result with the
// desktop's handler, or downloads the archive of an "Archived" result and opens it from this
// run's private folder or saves it where the user chooses. An archive whose row carries its
// proof is checked against it, and one that does not match is neither opened nor kept. Every event
// reads the selected row and the network settings afresh; the flow keeps no state between events.
// An activation returns how it ended as a value (DownloadOutcome).

#include "core/Sha256.h"
#include "database/RemoteFiles.h"
#include "transfer/NetworkSettings.h"
#include "ui/DownloadRules.h"
#include "ui/Form1Controls.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tollen::ui {

/// How a double click or Enter on a driver result row ended.
struct DownloadOutcome
{
    enum class Kind {
        /// No row was selected.
        NoRow,
        /// The archive was saved at `path`; also one kept at `path` that no program could open.
        Saved,
        /// The archive at `path` was handed to the desktop.
        Opened,
        /// The folder's URL, `path`, was handed to the desktop (or no program took it).
        FolderOpened,
        /// "Download driver?" was answered No.
        Declined,
        /// The save dialog was cancelled.
        Cancelled,
        /// The row's path leads off the database, or names no file of its own: `reason`.
        Refused,
        /// The transfer failed: `reason`.
        TransferFailed,
        /// The file could not be written: `reason`.
        NotWritable,
        /// The archive does not match the proof its row carries: `reason` names both digests.
        /// Nothing of it was kept.
        Mismatch,
    };
    Kind kind = Kind::NoRow;
    std::string path;
    std::string reason;
};

class DownloadFlow
{
public:
    /// Downloads go through `files` (the window's transfer routines).
    DownloadFlow(const Form1Controls &controls, database::RemoteFiles &files);

    void ListView2_Click();
    DownloadOutcome ListView2_DblClick();
    void ListView2_KeyPress(int KeyAscii);

private:
    struct Row
    {
        std::string remotePath;
        std::string type;
        std::optional<FileDigest> proof;
    };
    /// The selected row's Remote Path and Type; false when no row is selected.
    bool selectedRow(Row &row) const;
    transfer::NetworkSettings settings() const;

    DownloadOutcome activate();
    DownloadOutcome openFolder(const std::string &remotePath);
    DownloadOutcome downloadArchive(const Row &row);
    DownloadOutcome openArchive(const Row &row, const std::string &name);
    DownloadOutcome saveArchive(const Row &row, const std::string &name);
    /// Downloads the row's archive to `local`, checked against the row's proof when it has one;
    /// nothing when it succeeded, otherwise how the flow ends: a failure shows the branch's
    /// error box (the mismatch box for a mismatch), except a missing FTP connection, whose own
    /// box was shown.
    std::optional<DownloadOutcome> download(const Row &row, std::string &local,
                                            const std::string &errorText);
    /// The download of an archive checked against `proof`, with download's results.
    std::optional<DownloadOutcome> verifiedDownload(const std::string &archive,
                                                    const FileDigest &proof,
                                                    const std::string &local,
                                                    const std::string &errorText);
    /// The branch's error box: OK only, titled "Error".
    void showError(const std::string &text);
    /// Hands a downloaded file to the desktop; when no program can take it, says where it is.
    DownloadOutcome openDownloaded(const std::filesystem::path &file);

    Form1Controls m_controls;
    database::RemoteFiles &m_files;
};

} // namespace tollen::ui
