#include "ui/ProgramStart.h"

#include "inventory/ThisMachineDeviceTree.h"
#include "ui/DemoDatabase.h"

#include <utility>

namespace tollen::ui {
namespace {

Form1Startup form1Startup(ProgramStartOptions options, registry::RegistryStore *deviceStore)
{
    SettingsFolders settingsFolders = programSettingsFolders();
    std::string host = demoDatabaseHost(settingsFolders.executableFolder);
    return Form1Startup{std::move(options.commandTail), deviceStore, std::move(settingsFolders),
                        std::move(host), std::move(options.transferOptions)};
}

} // namespace

ProgramStart::ProgramStart(Form1Controls mainWindow, SplashControls splash,
                           ProgramStartOptions options)
    : m_thisMachine(options.scanThisMachine ? inventory::thisMachineDeviceTree() : nullptr),
      m_form1(mainWindow, form1Startup(std::move(options), m_thisMachine.get())),
      m_splash(splash, m_versions, m_form1)
{
}

} // namespace tollen::ui
