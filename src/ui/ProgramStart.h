#pragma once
// The start-up every program with the main window shares (the window on Qt, tollen.exe,
// tollen-cli): this machine's device tree, the settings folders, the demo database as the host
// the window starts with, the main window and the splash that hands over to it. The program
// then runs the splash (Form_Load) on its own screen or without one.

#include "registry/RegistryStore.h"
#include "ui/Form1.h"
#include "ui/SystemVersionProvider.h"
#include "ui/frmSplash.h"

#include <memory>
#include <string>

namespace tollen::ui {

struct ProgramStartOptions
{
    /// The program's command-line arguments joined by single spaces.
    std::string commandTail;
    /// Whether the load lists this machine's devices (a program given its devices from a file
    /// does not scan).
    bool scanThisMachine = true;
    transfer::TransferOptions transferOptions{};
};

class ProgramStart
{
public:
    ProgramStart(Form1Controls mainWindow, SplashControls splash, ProgramStartOptions options);

    Form1 &form1() { return m_form1; }
    frmSplash &splash() { return m_splash; }
    /// This machine's device tree, which the main window scans at its load; null when the
    /// program was started not to scan it.
    registry::RegistryStore *thisMachine() const { return m_thisMachine.get(); }

private:
    std::unique_ptr<registry::RegistryStore> m_thisMachine;
    Form1 m_form1;
    SystemVersionProvider m_versions;
    frmSplash m_splash;
};

} // namespace tollen::ui
