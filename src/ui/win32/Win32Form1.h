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

#define TOLLEN_WIN32_CONTROL(kind, name, place) Win32##kind name{placeIn(place)};
    TOLLEN_FORM1_CONTROLS(TOLLEN_WIN32_CONTROL)
#undef TOLLEN_WIN32_CONTROL

private:
    /// Where a control is made: the frames on the window, the other controls inside their frame.
    static const Win32Window &placeIn(const Win32Window &window)
    {
        return window;
    }
    static Placement placeIn(const Win32Frame &frame)
    {
        return frame.inside();
    }
};

} // namespace tollen::ui::win32
