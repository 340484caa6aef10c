#pragma once
// The Qt face of the program's windows.
//
// Each control of the contract (the headers of src/controls) gets a Qt class that inherits it and
// draws its state in a widget: WidgetControl places the widget (frames in pixels, controls inside a
// frame in twips through the window's PixelScale), the classes built on it draw captions, texts,
// rows and selections and raise the contract's events from widget signals. No rule of the program
// lives here; the core runs on these controls exactly as it runs on the headless ones.
// QtForm1 and QtSplash bundle the controls of the two windows, with the widgets named after the
// design names, and hand them to the core as Form1Controls and SplashControls.

#include "ui/Form1Controls.h"
#include "ui/qt/QtButton.h"
#include "ui/qt/QtCheckBox.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtFrame.h"
#include "ui/qt/QtLabel.h"
#include "ui/qt/QtListBox.h"
#include "ui/qt/QtListView.h"
#include "ui/qt/QtOptionGroup.h"
#include "ui/qt/QtProgressBar.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtTextBox.h"
#include "ui/qt/QtWindow.h"

namespace tollen::ui::qt {

/// Every control of the main window as widgets. The window comes first so that it outlives the
/// widgets inside it.
class QtForm1
{
public:
    QtForm1();
    QtForm1(const QtForm1 &) = delete;
    QtForm1 &operator=(const QtForm1 &) = delete;

    Form1Controls controls();

    QtWindow window;
    QtDialogs dialogs;
    QtClipboard clipboard;
    QtLauncher launcher;
    QtEventLoop eventLoop;

#define TOLLEN_QT_CONTROL(kind, name, place) Qt##kind name{placeIn(place)};
    TOLLEN_FORM1_CONTROLS(TOLLEN_QT_CONTROL)
#undef TOLLEN_QT_CONTROL

private:
    /// Where a control is made: the frames on the window, the other controls inside their frame.
    static const QtWindow &placeIn(const QtWindow &window)
    {
        return window;
    }
    static Placement placeIn(const QtFrame &frame)
    {
        return frame.inside();
    }
    void nameWidgets();
};

} // namespace tollen::ui::qt
