#pragma once
// The main window on the Win32 face: every control of the window's design as a window of the
// system's own, handed to the core as Form1Controls. No rule of the program lives here.

#include "ui/Form1Controls.h"
#include "ui/win32/Win32Button.h"
#include "ui/win32/Win32CheckBox.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/Win32Frame.h"
#include "ui/win32/Win32Label.h"
#include "ui/win32/Win32ListBox.h"
#include "ui/win32/Win32ListView.h"
#include "ui/win32/Win32OptionGroup.h"
#include "ui/win32/Win32ProgressBar.h"
#include "ui/win32/Win32Services.h"
#include "ui/win32/Win32TextBox.h"
#include "ui/win32/Win32Window.h"

namespace tollen::ui::win32 {

/// The window comes first so that it outlives the controls inside it.
class Win32Form1
{
public:
    Win32Form1();
    Win32Form1(const Win32Form1 &) = delete;
    Win32Form1 &operator=(const Win32Form1 &) = delete;

    Form1Controls controls();

    Win32Window window;
    Win32Dialogs dialogs;
    Win32Clipboard clipboard;
    Win32Launcher launcher;
    Win32EventLoop eventLoop;

    Win32Frame Frame3;
    Win32OptionGroup Option1;
    Win32Label Label1;
    Win32TextBox host;
    Win32Label Label2;
    Win32TextBox path;
    Win32Label Label3;
    Win32TextBox user;
    Win32TextBox pass;
    Win32CheckBox Check1;

    Win32Frame Frame1;
    Win32ListView ListView1;
    Win32Button Command4;
    Win32Button Command3;
    Win32Button Command2;
    Win32Button Command1;

    Win32Frame Frame2;
    Win32Label Label8;
    Win32ListBox List1;
    Win32Label Label6;
    Win32Label Label7;
    Win32ListBox List2;
    Win32ListView ListView2;
    Win32Label Label5;
    Win32ProgressBar ProgressBar1;
    Win32Label Label9;
};

} // namespace tollen::ui::win32
