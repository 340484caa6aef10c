#include "ui/DownloadFlow.h"

#include "core/PathText.h"
#include "core/RunFolder.h"

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

} // namespace

DownloadFlow::DownloadFlow(const Form1Controls &controls, Download download)
    : m_controls(controls), m_download(std::move(download))
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
    return true;
}

ServerSettings DownloadFlow::settings() const
{
    return ServerSettings{m_controls.Option1.selectedIndex() == 1, m_controls.host.text(),
                          m_controls.path.text(), m_controls.user.text(), m_controls.pass.text()};
}

void DownloadFlow::ListView2_Click()
{
    m_controls.clipboard.setText("");
    Row row;
    if (!selectedRow(row)) {
        return;
    }
    // A row whose link would lead off the database leaves the clipboard empty.
    if (const auto link = downloadLink(settings(), row.remotePath)) {
        m_controls.clipboard.setText(*link);
    }
}

void DownloadFlow::ListView2_DblClick()
{
    activate();
}

void DownloadFlow::ListView2_KeyPress(int KeyAscii)
{
    if (KeyAscii == kEnter) {
        activate();
    }
}

void DownloadFlow::activate()
{
    Row row;
    if (!selectedRow(row)) {
        return;
    }
    // Only the exact word marks a path through an archive; any other Type is a plain folder.
    if (row.type == "Archived") {
        downloadArchive(row.remotePath);
    } else {
        openFolder(row.remotePath);
    }
}

void DownloadFlow::openFolder(const std::string &remotePath)
{
    const auto url = folderUrl(settings(), remotePath);
    if (!url) {
        showError("Error opening folder: its path does not lie below the database\n" + remotePath);
        return;
    }
    m_controls.Label5.setCaption(kDownloading);
    if (!m_controls.launcher.open(*url)) {
        m_controls.dialogs.messageBox("No program was found to open the folder:\n" + *url,
                                      controls::MessageButtons::Ok);
    }
}

void DownloadFlow::downloadArchive(const std::string &remotePath)
{
    const std::string archive = archivePath(remotePath);
    if (m_controls.dialogs.messageBox("Download driver?", controls::MessageButtons::YesNo) ==
        controls::kAnswerNo) {
        return;
    }
    const std::string name = archiveName(archive);
    if (m_controls.Check1.isChecked()) {
        openArchive(archive, name);
    } else {
        saveArchive(archive, name);
    }
}

void DownloadFlow::openArchive(const std::string &archive, const std::string &name)
{
    const RunFolder folder = runFolder();
    // A name that is no file of its own would put the download beside this run's folder, or
    // on top of it.
    std::int16_t result = 0;
    std::string local;
    if (folder && isUsableFileName(name)) {
        std::string strurl = archive;
        local = utf8FromPath(folder.path / pathFromUtf8(name));
        result = m_download(strurl, local);
    }
    if (succeeded(result, "Error downloading file!")) {
        openDownloaded(pathFromUtf8(local));
    }
}

bool DownloadFlow::succeeded(std::int16_t result, const std::string &errorText)
{
    // -1 is a missing FTP connection, whose own box has said so: the flow just ends.
    if (result == 0) {
        showError(errorText);
    }
    return result == 1;
}

void DownloadFlow::showError(const std::string &text)
{
    m_controls.dialogs.messageBox(text, controls::MessageButtons::Ok, "Error");
}

void DownloadFlow::openDownloaded(const fs::path &file)
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
    }
}

void DownloadFlow::saveArchive(const std::string &archive, const std::string &name)
{
    if (!isUsableFileName(name)) {
        showError("Error downloading file");
        return;
    }
    controls::FileDialogRequest request;
    request.filter = saveFilter(nameExtension(name));
    request.flags = controls::kOverwritePrompt | controls::kHideReadOnly | controls::kPathMustExist;
    request.initialName = name;
    request.cancelError = true;
    const controls::FileDialogResult chosen = m_controls.dialogs.showSave(request);
    if (!chosen) {
        return;
    }
    m_controls.Label5.setCaption(kDownloading);
    std::string file = chosen.path;
    if (file.empty()) {
        return;
    }
    // A folder or a read-only file there is not replaced: the download fails.
    std::string strurl = archive;
    if (succeeded(m_download(strurl, file), "Error downloading file")) {
        m_controls.Label5.setCaption(kDownloadOk);
    }
}

} // namespace tollen::ui
