// Form1's network settings: the protocol choice Option1, the host box with a host kept for each
// protocol, and the settings file read first at load and written at unload (ui/SettingsFile.h).

#include "ui/Form1.h"
#include "ui/ProtocolChoice.h"

namespace tollen::ui {
namespace {

constexpr const char *kHttpHostCaption = "Host URL";
constexpr const char *kFtpHostCaption = "Host address / Port";

/// What the frame holds before the settings file is read; the FTP host starts empty.
transfer::NetworkSettings initialNetworkSettings(const std::string &initialHost)
{
    return transfer::NetworkSettings{false,       initialHost, "", "/g/driver%20archive",
                                     "anonymous", "wokx"};
}

} // namespace

void Form1::Option1_Click(int Index)
{
    const bool ftp = Index != 0;
    for (controls::Control *ftpOnly : {static_cast<controls::Control *>(&m_controls.path),
                                       static_cast<controls::Control *>(&m_controls.user),
                                       static_cast<controls::Control *>(&m_controls.pass),
                                       static_cast<controls::Control *>(&m_controls.Label2),
                                       static_cast<controls::Control *>(&m_controls.Label3)}) {
        ftpOnly->setVisible(ftp);
    }
    m_controls.Label1.setCaption(ftp ? kFtpHostCaption : kHttpHostCaption);
    // Copied first: setting the box raises host_Change, which stores into the same field.
    const std::string host = ftp ? FtpHost : HttpHost;
    m_controls.host.setText(host);
}

void Form1::host_Change()
{
    (ftpChosen(m_controls.Option1) ? FtpHost : HttpHost) = m_controls.host.text();
}

void Form1::LoadSettings()
{
    const transfer::NetworkSettings settings =
        readSettings(m_startup.settingsFolders, initialNetworkSettings(m_startup.initialHost));
    HttpHost = settings.httpHost;
    FtpHost = settings.ftpHost;
    const int index = settings.ftpChosen ? kFtpOption : kHttpOption;
    m_controls.Option1.select(index);
    Option1_Click(index);
    m_controls.path.setText(settings.path);
    m_controls.user.setText(settings.user);
    m_controls.pass.setText(settings.pass);
    m_controls.Check1.setChecked(false);
    m_settingsLoaded = true;
}

void Form1::SaveSettings()
{
    if (!m_settingsLoaded) {
        return;
    }
    const transfer::NetworkSettings settings{ftpChosen(m_controls.Option1),
                                             HttpHost,
                                             FtpHost,
                                             m_controls.path.text(),
                                             m_controls.user.text(),
                                             m_controls.pass.text()};
    if (const Error error = writeSettings(m_startup.settingsFolders, settings)) {
        m_controls.dialogs.messageBox(error.message, controls::MessageButtons::OkStop, "Error");
    }
}

} // namespace tollen::ui
