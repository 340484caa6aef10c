#pragma once
// The main window's core. Form1 owns the window's fields and routes the events of its controls
// to the routines of the inventory, the transfers and the layout; the face that draws the window
// (Qt, or headless for tests and the command line) hands it the controls.
//
// Life of the window: the splash writes EnumRoot and IsNT, then Show() runs Form_Load once and
// shows the window, unless the load closed it; closing the window runs Form_Unload.

#include "database/DatabaseQuery.h"
#include "registry/RegistryStore.h"
#include "transfer/Inet.h"
#include "transfer/cFTP.h"
#include "ui/DownloadFlow.h"
#include "ui/Form1Controls.h"
#include "ui/SettingsFile.h"
#include "ui/TransferRoutines.h"

#include <optional>
#include <string>
#include <vector>

namespace tollen::ui {

/// What the window needs from the process it runs in.
struct Form1Startup
{
    /// The program's command-line arguments joined by single spaces; empty when there are none.
    std::string commandTail;
    /// The registry whose device tree the load scans (this machine's devices when started
    /// normally); owned by the caller and kept alive as long as the window. None: no scan.
    registry::RegistryStore *deviceStore = nullptr;
    /// Where the settings file is read at load and written at unload; none by default, so a
    /// window made without them never touches a user's settings.
    SettingsFolders settingsFolders{};
    /// The host the window starts with before the settings are read (the demo database's URL).
    std::string initialHost{};
    /// Limits and trusted certificates of the window's transfers (the system's by default).
    transfer::TransferOptions transferOptions{};
};

class Form1
{
public:
    Form1(Form1Controls controls, Form1Startup startup);
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    /// The enumeration root below HKEY_LOCAL_MACHINE and the NT-family flag; written by the
    /// splash before the window loads.
    std::string EnumRoot;
    bool IsNT = false;

    /// Loads the window on its first call and shows it. False when the load closed the window
    /// (the program then ends).
    bool Show();
    bool isLoaded() const { return m_loaded; }

    void Form_Load();
    void Form_Resize();
    void Form_Unload();

    /// Rebuilds the criteria list List1 from the selected row of ListView1.
    void BuildCriteria();
    void ListView1_Click();
    void ListView1_ItemClick(int row);
    void ListView1_KeyPress(int KeyAscii);
    /// "Save profile" and "Load profile".
    void Command3_Click();
    void Command4_Click();

    /// The single entry points of every transfer: they follow the protocol choice.
    std::int32_t GetFileSize(const std::string &strurl);
    std::int16_t DownloadFile(std::string &strurl, std::string &strdestination);
    /// A download that fails once the file grows past `sizeLimit` bytes.
    std::int16_t DownloadFile(std::string &strurl, std::string &strdestination,
                              std::int64_t sizeLimit);

    // The database query and the events that start it.
    /// The query string of the last query that was not a subsystem refinement.
    std::string LastQuery;
    /// Looks the query up in the driver database; `iFlag` 1 marks a subsystem refinement.
    database::QueryOutcome QueryDatabase(std::string strQuery, std::int16_t iFlag);
    /// "Scan": the chosen criterion.
    database::QueryOutcome Command1_Click();
    void List1_DblClick();
    void List1_KeyPress(int KeyAscii);
    /// "Other device": a query typed into an input box; nothing when none was typed.
    std::optional<database::QueryOutcome> Command2_Click();
    /// The last query refined by the chosen entry of the refinement list; nothing while the
    /// list is empty.
    std::optional<database::QueryOutcome> List2_DblClick();
    void List2_KeyPress(int KeyAscii);

    // Driver download flow: a click copies the selected result's link, a double click or Enter
    // opens its folder or downloads its archive.
    void ListView2_Click();
    DownloadOutcome ListView2_DblClick();
    void ListView2_KeyPress(int KeyAscii);

    // Network settings: the protocol choice, each protocol's host, the settings file.
    std::string HttpHost;
    std::string FtpHost;
    void Option1_Click(int Index);
    void host_Change();

    Form1Controls &controls() { return m_controls; }
    /// The window's FTP session object and its HTTP transfer control.
    transfer::cFTP &q() { return m_q; }
    transfer::Inet &Inet1() { return m_inet; }
    /// The routines behind GetFileSize and DownloadFile.
    TransferRoutines &transfers() { return m_transfers; }

private:
    void connectEvents();
    /// The events that start a query (Form1Query.cpp).
    void connectQueryEvents();
    void connectDownloadFlow();
    /// The first step of the load and the last of the unload (Form1Settings.cpp).
    void LoadSettings();
    void SaveSettings();

    Form1Controls m_controls;
    Form1Startup m_startup;
    transfer::cFTP m_q{m_startup.transferOptions};
    transfer::Inet m_inet{m_startup.transferOptions};
    TransferRoutines m_transfers{m_q, m_inet, m_controls};
    database::DatabaseQuery m_query;
    DownloadFlow m_downloadFlow{m_controls, m_transfers};
    bool m_loaded = false;
    bool m_closedWhileLoading = false;
    bool m_unloaded = false;
    /// Settings are written only by a window that has read them.
    bool m_settingsLoaded = false;
    /// The handlers of the controls' events; they go first when the window goes.
    std::vector<controls::Connection> m_connections;
};

} // namespace tollen::ui
