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

    controls::Frame Frame3;
    controls::OptionGroup Option1;
    controls::Label Label1;
    controls::TextBox host;
    controls::Label Label2;
    controls::TextBox path;
    controls::Label Label3;
    controls::TextBox user;
    controls::TextBox pass;
    controls::CheckBox Check1;

    controls::Frame Frame1;
    controls::ListView ListView1;
    controls::Button Command4;
    controls::Button Command3;
    controls::Button Command2;
    controls::Button Command1;

    controls::Frame Frame2;
    controls::Label Label8;
    controls::ListBox List1;
    controls::Label Label6;
    controls::Label Label7;
    controls::ListBox List2;
    controls::ListView ListView2;
    controls::Label Label5;
    controls::ProgressBar ProgressBar1;
    controls::Label Label9;

    Form1Controls controls()
    {
        return Form1Controls{
            window,    dialogs,  clipboard, launcher,  eventLoop, Frame3,       Option1, Label1,
            host,      Label2,   path,      Label3,    user,      pass,         Check1,  Frame1,
            ListView1, Command4, Command3,  Command2,  Command1,  Frame2,       Label8,  List1,
            Label6,    Label7,   List2,     ListView2, Label5,    ProgressBar1, Label9};
    }
};

} // namespace tollen::ui
