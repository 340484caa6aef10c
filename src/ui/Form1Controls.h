#pragma once
// The controls of the main window, as the face that draws them hands them to the core. Names are
// the window's design names; the Qt face gives its widgets the same object names.

#include "controls/CheckBox.h"
#include "controls/Control.h"
#include "controls/Dialogs.h"
#include "controls/ListBox.h"
#include "controls/ListView.h"
#include "controls/OptionGroup.h"
#include "controls/ProgressBar.h"
#include "controls/Services.h"
#include "controls/TextBox.h"
#include "controls/Window.h"

namespace tollen::ui {

struct Form1Controls
{
    controls::Window &window;
    controls::Dialogs &dialogs;
    controls::Clipboard &clipboard;
    controls::Launcher &launcher;
    controls::EventLoop &eventLoop;

    // "Network Settings"
    controls::Frame &Frame3;
    controls::OptionGroup &Option1;
    controls::Label &Label1;
    controls::TextBox &host;
    controls::Label &Label2;
    controls::TextBox &path;
    controls::Label &Label3;
    controls::TextBox &user;
    controls::TextBox &pass;
    controls::CheckBox &Check1;

    // "Installed Hardware"
    controls::Frame &Frame1;
    controls::ListView &ListView1;
    controls::Button &Command4;
    controls::Button &Command3;
    controls::Button &Command2;
    controls::Button &Command1;

    // The database frame
    controls::Frame &Frame2;
    controls::Label &Label8;
    controls::ListBox &List1;
    controls::Label &Label6;
    controls::Label &Label7;
    controls::ListBox &List2;
    controls::ListView &ListView2;
    controls::Label &Label5;
    controls::ProgressBar &ProgressBar1;
    controls::Label &Label9;
};

} // namespace tollen::ui
