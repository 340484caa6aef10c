#pragma once
// The splash's controls without a screen, for the command-line program.

#include "controls/headless/HeadlessDialogs.h"
#include "controls/headless/HeadlessWindow.h"
#include "ui/frmSplash.h"

namespace tollen::ui {

struct HeadlessSplash
{
    controls::HeadlessWindow window{400, 250};
    controls::HeadlessDialogs dialogs;
    controls::Frame Frame1;
    controls::Timer Timer1;
    controls::Label Label1;
    controls::Label lblVersion;
    controls::Label lblPlatform;
    controls::Label lblOwner;
    controls::Label lblMaker;
    controls::Label lblTagline;

    SplashControls controls() { return SplashControls::of(*this); }
};

} // namespace tollen::ui
