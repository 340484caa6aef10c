#pragma once
// The splash's controls without a screen, for the command-line program.

#include "app/frmSplash.h"
#include "ui/headless/HeadlessDialogs.h"
#include "ui/headless/HeadlessWindow.h"

namespace tollen::app {

struct HeadlessSplash
{
    ui::HeadlessWindow window{400, 250};
    ui::HeadlessDialogs dialogs;
    ui::Frame Frame1;
    ui::Timer Timer1;
    ui::Label Label1;
    ui::Label lblVersion;
    ui::Label lblPlatform;
    ui::Label lblOwner;
    ui::Label lblMaker;
    ui::Label lblTagline;

    SplashControls controls()
    {
        return SplashControls{window,     dialogs,     Frame1,   Timer1,   Label1,
                              lblVersion, lblPlatform, lblOwner, lblMaker, lblTagline};
    }
};

} // namespace tollen::app
