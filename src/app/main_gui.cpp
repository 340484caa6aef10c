// tollen: the program with its windows. The splash starts, hands over to the main window, and
// the program ends when its last window closes.

#include "cli/CommandTail.h"
#include "inventory/ThisMachineDeviceTree.h"
#include "ui/DemoDatabase.h"
#include "ui/Form1.h"
#include "ui/SystemVersionProvider.h"
#include "ui/frmSplash.h"
#include "ui/qt/ApplicationIcon.h"
#include "ui/qt/QtForm1.h"
#include "ui/qt/QtSplash.h"
#include "ui/qt/TerminationSignals.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

namespace {

bool hasDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::cerr << "tollen: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are "
                     "not set).\nRun it under a virtual display:\n    xvfb-run -a "
                  << argv[0] << "\nor use tollen-cli, which lists the devices without a window.\n";
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tollen"));
    QApplication::setWindowIcon(tollen::ui::qt::applicationIcon());
    const tollen::ui::qt::TerminationSignals closeOnTermination;

    tollen::ui::qt::QtForm1 mainWindow;
    const auto thisMachine = tollen::inventory::thisMachineDeviceTree();
    const tollen::ui::SettingsFolders settingsFolders = tollen::ui::programSettingsFolders();
    tollen::ui::Form1 form1(
        mainWindow.controls(),
        tollen::ui::Form1Startup{tollen::cli::commandTail(argc, argv), thisMachine.get(),
                                 settingsFolders,
                                 tollen::ui::demoDatabaseHost(settingsFolders.executableFolder)});
    tollen::ui::qt::QtSplash splashWindow;
    const tollen::ui::SystemVersionProvider versions;
    tollen::ui::frmSplash splash(splashWindow.controls(), versions, form1);

    splash.Form_Load();
    if (splash.state() == tollen::ui::frmSplash::State::Refused) {
        return 1;
    }
    splashWindow.window.show();
    const int result = QApplication::exec();
    return splash.mainWindowShown() ? result : 1;
}
