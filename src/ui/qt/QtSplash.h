#pragma once

#include "ui/frmSplash.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtFrame.h"
#include "ui/qt/QtLabel.h"
#include "ui/qt/QtTimer.h"
#include "ui/qt/QtWindow.h"

namespace tollen::ui::qt {

/// The splash window's controls as widgets: a frameless window centred on the screen, the frame
/// filling it, the title, the logo, the version and platform labels and three fixed lines.
class QtSplash
{
public:
    QtSplash();
    QtSplash(const QtSplash &) = delete;
    QtSplash &operator=(const QtSplash &) = delete;

    SplashControls controls();

    QtWindow window;
    QtDialogs dialogs;
    QtFrame Frame1;
    QtTimer Timer1;
    QtLabel Label1;
    QLabel *imgLogo;
    QtLabel lblVersion;
    QtLabel lblPlatform;
    QtLabel lblOwner;
    QtLabel lblMaker;
    QtLabel lblTagline;

private:
    void layOut();
};

} // namespace tollen::ui::qt
