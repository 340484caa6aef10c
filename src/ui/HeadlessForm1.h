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
    HeadlessWindow window{517, 445, 15};
    HeadlessDialogs dialogs;
    HeadlessClipboard clipboard;
    HeadlessLauncher launcher;
    HeadlessEventLoop eventLoop;

    Frame Frame3;
    OptionGroup Option1;
    Label Label1;
    TextBox host;
    Label Label2;
    TextBox path;
    Label Label3;
    TextBox user;
    TextBox pass;
    CheckBox Check1;

    Frame Frame1;
    ListView ListView1;
    Button Command4;
    Button Command3;
    Button Command2;
    Button Command1;

    Frame Frame2;
    Label Label8;
    ListBox List1;
    Label Label6;
    Label Label7;
    ListBox List2;
    ListView ListView2;
    Label Label5;
    ProgressBar ProgressBar1;
    Label Label9;

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
