// tollen: the program with its windows. The splash starts, hands over to the main window, and
// the program ends when its last window closes.

#include "cli/CommandTail.h"
#include "core/ProgramEdge.h"
#include "ui/ProgramStart.h"
#include "ui/qt/ApplicationIcon.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtForm1.h"
#include "ui/qt/QtSplash.h"
#include "ui/qt/TerminationSignals.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>

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

/// The window program once a display is there: the splash, then the main window.
int runWindows(int argc, char *argv[])
{
    const tollen::ui::qt::TerminationSignals closeOnTermination;
    tollen::ui::qt::QtForm1 mainWindow;
    tollen::ui::qt::QtSplash splashWindow;
    tollen::ui::ProgramStart program(mainWindow.controls(), splashWindow.controls(),
                                     {tollen::cli::commandTail(argc, argv)});
    tollen::ui::frmSplash &splash = program.splash();
    splash.Form_Load();
    if (splash.state() == tollen::ui::frmSplash::State::Refused) {
        return 1;
    }
    splashWindow.window.show();
    const int result = QApplication::exec();
    return splash.mainWindowShown() ? result : 1;
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
    return tollen::runAtProgramEdge([&] { return runWindows(argc, argv); },
                                    [](const std::string &message) {
                                        std::cerr << "tollen: " << message << '\n';
                                        tollen::ui::qt::QtDialogs().messageBox(
                                            message, tollen::controls::MessageButtons::OkStop,
                                            std::nullopt);
                                    },
                                    1);
}
