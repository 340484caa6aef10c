#pragma once
// The splash window on the Win32 face: a window without a title bar in the middle of the
// screen, the frame filling it, the title, the program's icon, the version and platform labels
// and three fixed lines.

#include "ui/frmSplash.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/Win32Frame.h"
#include "ui/win32/Win32Label.h"
#include "ui/win32/Win32Timer.h"
#include "ui/win32/Win32Window.h"

namespace tollen::ui::win32 {

/// The program's icon, drawn at the size of its control.
class Win32Logo : public HwndControl<controls::Control>
{
public:
    explicit Win32Logo(const Placement &placement);
};

class Win32Splash
{
public:
    Win32Splash();
    Win32Splash(const Win32Splash &) = delete;
    Win32Splash &operator=(const Win32Splash &) = delete;

    SplashControls controls();

    Win32Window window;
    Win32Dialogs dialogs;
    Win32Frame Frame1;
    Win32Timer Timer1;
    Win32Label Label1;
    Win32Logo imgLogo;
    Win32Label lblVersion;
    Win32Label lblPlatform;
    Win32Label lblOwner;
    Win32Label lblMaker;
    Win32Label lblTagline;

private:
    void layOut();
};

} // namespace tollen::ui::win32
