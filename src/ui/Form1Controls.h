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

// The one list of the window's controls: each with its kind and where it sits (the window for
// the three frames, a frame for the controls inside it), in the order of the design. Every face
// declares its controls from this list, and Form1Controls::of hands them over by name.
// clang-format off
#define TOLLEN_FORM1_CONTROLS(X)            \
    /* "Network Settings" */                \
    X(Frame, Frame3, window)                \
    X(OptionGroup, Option1, Frame3)         \
    X(Label, Label1, Frame3)                \
    X(TextBox, host, Frame3)                \
    X(Label, Label2, Frame3)                \
    X(TextBox, path, Frame3)                \
    X(Label, Label3, Frame3)                \
    X(TextBox, user, Frame3)                \
    X(TextBox, pass, Frame3)                \
    X(CheckBox, Check1, Frame3)             \
    /* "Installed Hardware" */              \
    X(Frame, Frame1, window)                \
    X(ListView, ListView1, Frame1)          \
    X(Button, Command4, Frame1)             \
    X(Button, Command3, Frame1)             \
    X(Button, Command2, Frame1)             \
    X(Button, Command1, Frame1)             \
    /* The database frame */                \
    X(Frame, Frame2, window)                \
    X(Label, Label8, Frame2)                \
    X(ListBox, List1, Frame2)               \
    X(Label, Label6, Frame2)                \
    X(Label, Label7, Frame2)                \
    X(ListBox, List2, Frame2)               \
    X(ListView, ListView2, Frame2)          \
    X(Label, Label5, Frame2)                \
    X(ProgressBar, ProgressBar1, Frame2)    \
    X(Label, Label9, Frame2)
// clang-format on

namespace tollen::ui {

struct Form1Controls
{
    controls::Window &window;
    controls::Dialogs &dialogs;
    controls::Clipboard &clipboard;
    controls::Launcher &launcher;
    controls::EventLoop &eventLoop;

#define TOLLEN_FORM1_CONTROL_REFERENCE(kind, name, place) controls::kind &name;
    TOLLEN_FORM1_CONTROLS(TOLLEN_FORM1_CONTROL_REFERENCE)
#undef TOLLEN_FORM1_CONTROL_REFERENCE

    /// The controls of a face whose members carry the window's names, with the face's own
    /// dialogs or `dialogs` in their place.
    template <class Face> static Form1Controls of(Face &face)
    {
        return of(face, face.dialogs);
    }
    template <class Face> static Form1Controls of(Face &face, controls::Dialogs &dialogs)
    {
#define TOLLEN_FORM1_CONTROL_BY_NAME(kind, name, place) .name = face.name,
        return Form1Controls{.window = face.window,
                             .dialogs = dialogs,
                             .clipboard = face.clipboard,
                             .launcher = face.launcher,
                             .eventLoop = face.eventLoop,
                             TOLLEN_FORM1_CONTROLS(TOLLEN_FORM1_CONTROL_BY_NAME)};
#undef TOLLEN_FORM1_CONTROL_BY_NAME
    }
};

} // namespace tollen::ui
