#pragma once
// What the user does with a driver result row in ListView2: a click copies the row's download
// link to the clipboard; a double click or Enter opens the folder of a plain result with the
// desktop's handler, or downloads the archive of an "Archived" result and opens it from this
// run's private folder or saves it where the user chooses. Every event reads the selected row and
// the network settings afresh; the flow keeps no state between events.

#include "ui/DownloadRules.h"
#include "ui/Form1Controls.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace tollen::ui {

class DownloadFlow
{
public:
    /// The window's DownloadFile: 1 downloaded, 0 failed, -1 no FTP connection (its own box was
    /// shown).
    using Download = std::function<std::int16_t(std::string &url, std::string &destination)>;

    DownloadFlow(const Form1Controls &controls, Download download);

    void ListView2_Click();
    void ListView2_DblClick();
    void ListView2_KeyPress(int KeyAscii);

private:
    struct Row
    {
        std::string remotePath;
        std::string type;
    };
    /// The selected row's Remote Path and Type; false when no row is selected.
    bool selectedRow(Row &row) const;
    ServerSettings settings() const;

    void activate();
    void openFolder(const std::string &remotePath);
    void downloadArchive(const std::string &remotePath);
    void openArchive(const std::string &archive, const std::string &name);
    void saveArchive(const std::string &archive, const std::string &name);
    /// Whether a download's result is a success; 0 shows the branch's error box, -1 (no FTP
    /// connection, its own box shown) ends the flow quietly.
    bool succeeded(std::int16_t result, const std::string &errorText);
    /// The branch's error box: OK only, titled "Error".
    void showError(const std::string &text);
    /// Hands a downloaded file to the desktop; when no program can take it, says where it is.
    void openDownloaded(const std::filesystem::path &file);

    Form1Controls m_controls;
    Download m_download;
};

} // namespace tollen::ui
