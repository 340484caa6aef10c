#pragma once
// The splash's controls without a screen, for the command-line program.

#include "controls/headless/HeadlessDialogs.h"
#include "controls/headless/HeadlessWindow.h"
#include "ui/frmSplash.h"

namespace tollen::ui {

struct HeadlessSplash
{
    HeadlessWindow window{400, 250};
    HeadlessDialogs dialogs;
    Frame Frame1;
    Timer Timer1;
    Label Label1;
    Label lblVersion;
    Label lblPlatform;
    Label lblOwner;
    Label lblMaker;
    Label lblTagline;

    SplashControls controls()
    {
        return SplashControls{window,     dialogs,     Frame1,   Timer1,   Label1,
                              lblVersion, lblPlatform, lblOwner, lblMaker, lblTagline};
    }
};

} // namespace tollen::ui
