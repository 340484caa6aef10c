#pragma once
// The controls of the main window, as the face that draws them hands them to the core. Names are
// the window's design names; the Qt face gives its widgets the same object names.

#include "controls/controls.h"

namespace tollen::ui {

struct Form1Controls
{
    Window &window;
    Dialogs &dialogs;
    Clipboard &clipboard;
    Launcher &launcher;
    EventLoop &eventLoop;

    // "Network Settings"
    Frame &Frame3;
    OptionGroup &Option1;
    Label &Label1;
    TextBox &host;
    Label &Label2;
    TextBox &path;
    Label &Label3;
    TextBox &user;
    TextBox &pass;
    CheckBox &Check1;

    // "Installed Hardware"
    Frame &Frame1;
    ListView &ListView1;
    Button &Command4;
    Button &Command3;
    Button &Command2;
    Button &Command1;

    // The database frame
    Frame &Frame2;
    Label &Label8;
    ListBox &List1;
    Label &Label6;
    Label &Label7;
    ListBox &List2;
    ListView &ListView2;
    Label &Label5;
    ProgressBar &ProgressBar1;
    Label &Label9;
};

} // namespace tollen::ui
