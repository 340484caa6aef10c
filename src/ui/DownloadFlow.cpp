#include "ui/DownloadFlow.h"

#include "core/PathText.h"
#include "core/RunFolder.h"
#include "database/IndexLine.h"
#include "database/ResultRow.h"
#include "database/VerifiedDownload.h"
#include "transfer/DownloadUrl.h"
#include "ui/DownloadDestination.h"
#include "ui/ProtocolChoice.h"

#include <utility>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kEnter = 13;
/// Columns of a driver result row, as sub-items: "Remote Path" and "Type".
constexpr int kRemotePathColumn = 7;
constexpr int kTypeColumn = 8;

const std::string kDownloading = "Downloading driver...";
const std::string kDownloadOk = "Driver download OK.";
const std::string kMismatch = "The downloaded file does not match the database.";

constexpr const char *kNoFileName = "the path names no file of its own";

using Kind = DownloadOutcome::Kind;

/// How the flow ends when a download failed.
DownloadOutcome failedDownload(const transfer::TransferFailure &failure)
{
    switch (failure.kind) {
    case transfer::FailureKind::PathRefused:
        return {Kind::Refused, {}, failure.reason};
    case transfer::FailureKind::LocalFile:
        return {Kind::NotWritable, {}, failure.reason};
    default:
        return {Kind::TransferFailed, {}, failure.reason};
    }
}

} // namespace

DownloadFlow::DownloadFlow(const Form1Controls &controls, database::RemoteFiles &files)
    : m_controls(controls), m_files(files)
{
}

bool DownloadFlow::selectedRow(Row &row) const
{
    const controls::ListView &list = m_controls.ListView2;
    const int selected = list.selectedRow();
    if (list.rowCount() == 0 || selected < 1 || selected > list.rowCount()) {
        return false;
    }
    row.remotePath = list.subItem(selected, kRemotePathColumn);
    row.type = list.subItem(selected, kTypeColumn);
    row.proof = database::resultRowProof(list, selected);
    return true;
}

transfer::NetworkSettings DownloadFlow::settings() const
{
    transfer::NetworkSettings settings{
        ftpChosen(m_controls.Option1), {}, {}, m_controls.path.text(), m_controls.user.text(),
        m_controls.pass.text()};
    // The host box holds the chosen protocol's host.
    (settings.ftpChosen ? settings.ftpHost : settings.httpHost) = m_controls.host.text();
    return settings;
}

void DownloadFlow::ListView2_Click()
{
    m_controls.clipboard.setText("");
    Row row;
    if (!selectedRow(row)) {
        return;
    }
    // A row whose link would lead off the database leaves the clipboard empty.
    if (const auto link = transfer::downloadLink(settings(), row.remotePath)) {
        m_controls.clipboard.setText(*link);
    }
}

DownloadOutcome DownloadFlow::ListView2_DblClick()
{
    return activate();
}

void DownloadFlow::ListView2_KeyPress(int KeyAscii)
{
    if (KeyAscii == kEnter) {
        activate();
    }
}

DownloadOutcome DownloadFlow::activate()
{
    Row row;
    if (!selectedRow(row)) {
        return {};
    }
    if (row.type == database::kArchivedType) {
        return downloadArchive(row);
    }
    return openFolder(row.remotePath);
}

DownloadOutcome DownloadFlow::openFolder(const std::string &remotePath)
{
    const auto url = transfer::folderUrl(settings(), remotePath);
    if (!url) {
        const std::string reason = "its path does not lie below the database";
        showError("Error opening folder: " + reason + "\n" + remotePath);
        return {Kind::Refused, {}, reason};
    }
    m_controls.Label5.setCaption(kDownloading);
    if (!m_controls.launcher.open(*url)) {
        m_controls.dialogs.messageBox("No program was found to open the folder:\n" + *url,
                                      controls::MessageButtons::Ok);
    }
    return {Kind::FolderOpened, *url, {}};
}

DownloadOutcome DownloadFlow::downloadArchive(const Row &row)
{
    if (m_controls.dialogs.messageBox("Download driver?", controls::MessageButtons::YesNo) ==
        controls::kAnswerNo) {
        return {Kind::Declined, {}, {}};
    }
    const std::string name = archiveName(archivePath(row.remotePath));
    if (m_controls.Check1.isChecked()) {
        return openArchive(row, name);
    }
    return saveArchive(row, name);
}

DownloadOutcome DownloadFlow::openArchive(const Row &row, const std::string &name)
{
    constexpr const char *kErrorText = "Error downloading file!";
    const RunFolder folder = runFolder();
    if (!folder) {
        showError(kErrorText);
        return {Kind::NotWritable, {}, folder.error.message};
    }
    // A name that is no file of its own would put the download beside this run's folder, or
    // on top of it.
    if (!isUsableFileName(name)) {
        showError(kErrorText);
        return {Kind::Refused, {}, kNoFileName};
    }
    std::string local = utf8FromPath(folder.path / pathFromUtf8(name));
    if (auto failed = download(row, local, kErrorText)) {
        return *failed;
    }
    return openDownloaded(pathFromUtf8(local));
}

std::optional<DownloadOutcome> DownloadFlow::download(const Row &row, std::string &local,
                                                      const std::string &errorText)
{
    const std::string archive = archivePath(row.remotePath);
    if (row.proof) {
        return verifiedDownload(archive, *row.proof, local, errorText);
    }
    std::string strurl = archive;
    const std::int16_t result =
        m_files.DownloadFile(strurl, local, database::RemoteFiles::kAnySize);
    if (result == 1) {
        return std::nullopt;
    }
    // -1 is a missing FTP connection, whose own box has said so: the flow just ends.
    if (result == 0) {
        showError(errorText);
    }
    return failedDownload(m_files.lastFailure());
}

std::optional<DownloadOutcome> DownloadFlow::verifiedDownload(const std::string &archive,
                                                              const FileDigest &proof,
                                                              const std::string &local,
                                                              const std::string &errorText)
{
    const fs::path target = pathFromUtf8(local);
    if (const Error problem = destinationProblem(target)) {
        showError(errorText);
        return DownloadOutcome{Kind::NotWritable, {}, problem.message};
    }
    using Verified = database::VerifiedDownload::Kind;
    const database::VerifiedDownload verified =
        database::downloadVerified(m_files, archive, target, proof, false);
    switch (verified.kind) {
    case Verified::Done:
        return std::nullopt;
    case Verified::Mismatch:
        showError(kMismatch);
        return DownloadOutcome{Kind::Mismatch, {}, verified.reason};
    case Verified::NotWritable:
        showError(errorText);
        return DownloadOutcome{Kind::NotWritable, {}, verified.reason};
    case Verified::Failed:
        break;
    }
    // A missing FTP connection has had its own box.
    if (!(ftpChosen(m_controls.Option1) &&
          verified.failure == transfer::FailureKind::NoConnection)) {
        showError(errorText);
    }
    return failedDownload(m_files.lastFailure());
}

void DownloadFlow::showError(const std::string &text)
{
    m_controls.dialogs.messageBox(text, controls::MessageButtons::Ok, "Error");
}

DownloadOutcome DownloadFlow::openDownloaded(const fs::path &file)
{
    // The program the desktop starts may open the file after this run is over.
    keepAfterRun(file);
    const bool opened = m_controls.launcher.open(utf8FromPath(file));
    m_controls.Label5.setCaption(kDownloadOk);
    if (!opened) {
        m_controls.dialogs.messageBox(
            "No program was found to open the downloaded file. It is kept at:\n" +
                utf8FromPath(file),
            controls::MessageButtons::Ok);
        return {Kind::Saved, utf8FromPath(file), {}};
    }
    return {Kind::Opened, utf8FromPath(file), {}};
}

DownloadOutcome DownloadFlow::saveArchive(const Row &row, const std::string &name)
{
    constexpr const char *kErrorText = "Error downloading file";
    if (!isUsableFileName(name)) {
        showError(kErrorText);
        return {Kind::Refused, {}, kNoFileName};
    }
    controls::FileDialogRequest request;
    request.filter = saveFilter(nameExtension(name));
    request.flags = controls::kOverwritePrompt | controls::kHideReadOnly | controls::kPathMustExist;
    request.initialName = name;
    request.cancelError = true;
    const controls::FileDialogResult chosen = m_controls.dialogs.showSave(request);
    if (!chosen) {
        return {Kind::Cancelled, {}, {}};
    }
    m_controls.Label5.setCaption(kDownloading);
    std::string file = chosen.path;
    if (file.empty()) {
        return {Kind::Cancelled, {}, {}};
    }
    // A folder or a read-only file there is not replaced: the download fails.
    if (auto failed = download(row, file, kErrorText)) {
        return *failed;
    }
    m_controls.Label5.setCaption(kDownloadOk);
    return {Kind::Saved, file, {}};
}

} // namespace tollen::ui
