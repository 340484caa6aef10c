#include "ui/frmSplash.h"

#include "registry/EnumRoot.h"
#include "ui/Form1.h"

#include <string>

namespace tollen::ui {
namespace {

/// Platform labels of the NT versions the program knows; other NT versions keep the design text.
const char *ntPlatformLabel(const std::string &version)
{
    struct Row
    {
        const char *version;
        const char *label;
    };
    static constexpr Row kRows[] = {
        {"4.0", "Running on Windows NT 4.0"}, {"5.0", "Running on Windows 2000"},
        {"5.1", "Running on Windows XP"},     {"5.2", "Running on Windows 2003"},
        {"6.0", "Running on Windows Vista"},  {"6.1", "Running on Windows 7"},
        {"6.2", "Running on Windows 8"},      {"6.3", "Running on Windows 8.1"},
    };
    for (const Row &row : kRows) {
        if (version == row.version) {
            return row.label;
        }
    }
    return nullptr;
}

} // namespace

frmSplash::frmSplash(SplashControls controls, const VersionProvider &versions, Form1 &form,
                     ApplicationVersion version)
    : m_controls(controls), m_versions(versions), m_form(form), m_version(version)
{
    m_controls.Label1.setCaption("Tollen");
    m_controls.lblVersion.setCaption("Version");
    m_controls.lblPlatform.setCaption("Platform");
    m_controls.lblOwner.setCaption("Licensed to the workshop that runs it");
    m_controls.lblMaker.setCaption("Made by the Tollen developers");
    m_controls.lblTagline.setCaption("The right driver for every device");
    m_controls.Timer1.setInterval(kTimerInterval);
    m_controls.Timer1.setEnabled(false);
    m_connections.push_back(m_controls.Timer1.onTick.connect([this] { Timer1_Timer(); }));
    m_connections.push_back(m_controls.Frame1.onClick.connect([this] { Frame1_Click(); }));
    m_connections.push_back(
        m_controls.window.onKeyPress.connect([this](int keyCode) { Form_KeyPress(keyCode); }));
}

void frmSplash::Form_Load()
{
    m_controls.lblVersion.setCaption("Version " + std::to_string(m_version.major) + "." +
                                     std::to_string(m_version.minor) + "." +
                                     std::to_string(m_version.revision));
    m_controls.Label1.setCaption(controls::kApplicationTitle);

    const auto version = m_versions.query();
    if (!version) {
        refuse("Unable to identify your version of Windows.");
        return;
    }
    switch (version->platformId) {
    case 0:
        refuse("Windows 3.xx is not supported. I don't even know how you got this to run, lol.");
        return;
    case 1:
        m_form.IsNT = false;
        if (version->minor == 0) {
            m_controls.lblPlatform.setCaption("Running on Windows 95");
            m_controls.dialogs.messageBox(
                "Please be aware that Windows 95 needs to have Internet Explorer 4.00 or higher "
                "installed for internet functions to work!",
                controls::MessageButtons::Ok, std::string("Windows Version Warning"));
        } else {
            m_controls.lblPlatform.setCaption("Running on Windows 98/ME");
        }
        m_form.EnumRoot = registry::kEnumKey;
        break;
    case 2: {
        if (version->major == 3) {
            refuse("Windows NT 3.xx is not supported (Not PNP aware).");
            return;
        }
        m_form.IsNT = true;
        m_form.EnumRoot = registry::kNtEnumRoot;
        const std::string text =
            std::to_string(version->major) + "." + std::to_string(version->minor);
        if (const char *label = ntPlatformLabel(text)) {
            m_controls.lblPlatform.setCaption(label);
        }
        break;
    }
    default:
        // A platform the program does not know: nothing is set and the start goes on.
        break;
    }
    m_ticks = 0;
    m_state = State::Waiting;
    m_controls.Timer1.setEnabled(true);
}

void frmSplash::refuse(const std::string &text)
{
    m_controls.dialogs.messageBox(text, controls::MessageButtons::Ok);
    m_state = State::Refused;
    m_controls.window.close();
}

void frmSplash::Timer1_Timer()
{
    ++m_ticks;
    if (m_ticks == kTicksBeforeHandOver) {
        handOver();
    }
}

void frmSplash::Form_KeyPress(int /*keyCode*/)
{
    handOver();
}

void frmSplash::Frame1_Click()
{
    handOver();
}

void frmSplash::handOver()
{
    if (m_state != State::Waiting) {
        return;
    }
    m_state = State::HandedOver;
    m_controls.Timer1.setEnabled(false);
    m_mainWindowShown = m_form.Show();
    m_controls.window.close();
}

} // namespace tollen::ui
