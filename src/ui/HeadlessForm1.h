#pragma once
// Every control of the main window without a screen: plain state, scripted dialogs. Tests and
// the command-line face build a Form1 on this.

#include "controls/headless/HeadlessDialogs.h"
#include "controls/headless/HeadlessServices.h"
#include "controls/headless/HeadlessWindow.h"
#include "ui/Form1Controls.h"

namespace tollen::ui {

struct HeadlessForm1
{
    /// The designed inner area at 15 twips per pixel: 517 x 445 pixels.
    controls::HeadlessWindow window{517, 445, 15};
    controls::HeadlessDialogs dialogs;
    controls::HeadlessClipboard clipboard;
    controls::HeadlessLauncher launcher;
    controls::HeadlessEventLoop eventLoop;

#define TOLLEN_HEADLESS_CONTROL(kind, name, place) controls::kind name;
    TOLLEN_FORM1_CONTROLS(TOLLEN_HEADLESS_CONTROL)
#undef TOLLEN_HEADLESS_CONTROL

    Form1Controls controls()
    {
        return Form1Controls::of(*this);
    }
};

} // namespace tollen::ui
