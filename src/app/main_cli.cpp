// tollen-cli: the program without a screen. It starts as the windowed program does, hands over
// from the splash at once, prints the devices of the installed-hardware list (Device ID, a tab,
// Device Name) and every message the program shows on standard error.

#include "app/CommandTail.h"
#include "app/LinuxVersionProvider.h"
#include "inventory/DeviceTreeStore.h"
#include "ui/DemoDatabase.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"
#include "ui/HeadlessSplash.h"
#include "ui/frmSplash.h"

#include <iostream>

namespace {

void printQuestion(const tollen::ui::HeadlessDialogs::Question &question)
{
    std::cerr << question.title << ": " << question.text << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    tollen::ui::HeadlessForm1 mainWindow;
    mainWindow.dialogs.onQuestion = printQuestion;
    tollen::inventory::DeviceTreeStore thisMachine;
    const tollen::ui::SettingsFolders settingsFolders = tollen::ui::programSettingsFolders();
    tollen::ui::Form1 form1(mainWindow.controls(),
                            tollen::ui::Form1Startup{
                                tollen::app::commandTail(argc, argv), &thisMachine, settingsFolders,
                                tollen::ui::demoDatabaseHost(settingsFolders.executableFolder)});
    tollen::ui::HeadlessSplash splashWindow;
    splashWindow.dialogs.onQuestion = printQuestion;
    const tollen::app::LinuxVersionProvider versions;
    tollen::ui::frmSplash splash(splashWindow.controls(), versions, form1);

    splash.Form_Load();
    splash.Frame1_Click();
    if (!splash.mainWindowShown()) {
        return 1;
    }
    const tollen::ui::ListView &devices = mainWindow.ListView1;
    for (int row = 1; row <= devices.rowCount(); ++row) {
        std::cout << devices.text(row) << '\t' << devices.subItem(row, 1) << '\n';
    }
    return 0;
}
