#pragma once
// The splash window's core: it shows the program's version and the detected Windows version,
// refuses systems without a Plug and Play device tree, tells the main window where to find the
// devices (EnumRoot, IsNT), and hands over after three ticks of its timer, a key or a click.

#include "controls/Control.h"
#include "controls/Dialogs.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "ui/VersionProvider.h"

#include <functional>
#include <vector>

namespace tollen::ui {

class Form1;

struct SplashControls
{
    controls::Window &window;
    controls::Dialogs &dialogs;
    controls::Frame &Frame1;
    controls::Timer &Timer1;
    controls::Label &Label1;
    controls::Label &lblVersion;
    controls::Label &lblPlatform;
    controls::Label &lblOwner;
    controls::Label &lblMaker;
    controls::Label &lblTagline;

    /// The controls of a face whose members carry the splash's names.
    template <class Face> static SplashControls of(Face &face)
    {
        return SplashControls{.window = face.window,
                              .dialogs = face.dialogs,
                              .Frame1 = face.Frame1,
                              .Timer1 = face.Timer1,
                              .Label1 = face.Label1,
                              .lblVersion = face.lblVersion,
                              .lblPlatform = face.lblPlatform,
                              .lblOwner = face.lblOwner,
                              .lblMaker = face.lblMaker,
                              .lblTagline = face.lblTagline};
    }
};

/// The program's own version.
struct ApplicationVersion
{
    int major = 1;
    int minor = 0;
    int revision = 0;
};

class frmSplash
{
public:
    enum class State { Loading, Refused, Waiting, HandedOver };

    static constexpr int kTimerInterval = 1000;
    static constexpr int kTicksBeforeHandOver = 3;

    /// `form` is the main window the splash hands over to.
    frmSplash(SplashControls controls, const VersionProvider &versions, Form1 &form,
              ApplicationVersion version = {});
    frmSplash(const frmSplash &) = delete;
    frmSplash &operator=(const frmSplash &) = delete;

    void Form_Load();
    void Timer1_Timer();
    void Form_KeyPress(int keyCode);
    void Frame1_Click();

    State state() const { return m_state; }
    int ticks() const { return m_ticks; }
    /// True when the main window loaded and is showing; false when it closed while loading.
    bool mainWindowShown() const { return m_mainWindowShown; }

private:
    void refuse(const std::string &text);
    void handOver();

    SplashControls m_controls;
    const VersionProvider &m_versions;
    Form1 &m_form;
    ApplicationVersion m_version;
    State m_state = State::Loading;
    std::int16_t m_ticks = 0;
    bool m_mainWindowShown = false;
    /// The handlers of the splash's events; they go when the splash goes.
    std::vector<controls::Connection> m_connections;
};

} // namespace tollen::ui
