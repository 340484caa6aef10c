// tollen.exe: the program with its windows on Windows. The splash starts, hands over to the
// main window, and the program ends when its last window closes, as the Linux program does.

#include "cli/CommandTail.h"
#include "core/ProcessText.h"
#include "inventory/ThisMachineDeviceTree.h"
#include "ui/DemoDatabase.h"
#include "ui/Form1.h"
#include "ui/SystemVersionProvider.h"
#include "ui/frmSplash.h"
#include "ui/win32/Win32Form1.h"
#include "ui/win32/Win32Splash.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kCheckWindows = WM_APP + 1;

/// Ends the message loop once no window of the program is left on the screen. The check runs
/// after the closing is done, so that a window shown in place of the one closing (the main
/// window taking over from the splash) counts.
class LastWindowWatch : public tollen::ui::win32::MessageTarget
{
public:
    explicit LastWindowWatch(std::vector<tollen::ui::win32::Win32Window *> windows)
        : m_windows(std::move(windows)),
          m_window(tollen::ui::win32::createPanel(HWND_MESSAGE, 0, 0, *this))
    {
        for (tollen::ui::win32::Win32Window *window : m_windows) {
            window->afterClose = [this] { PostMessageW(m_window, kCheckWindows, 0, 0); };
        }
    }
    ~LastWindowWatch() override { tollen::ui::win32::destroyTied(m_window); }
    LastWindowWatch(const LastWindowWatch &) = delete;
    LastWindowWatch &operator=(const LastWindowWatch &) = delete;

    bool message(UINT message, WPARAM, LPARAM, LRESULT &result) override
    {
        if (message != kCheckWindows) {
            return false;
        }
        bool anyShown = false;
        for (const tollen::ui::win32::Win32Window *window : m_windows) {
            anyShown = anyShown || window->isVisible();
        }
        if (!anyShown) {
            PostQuitMessage(0);
        }
        result = 0;
        return true;
    }

private:
    std::vector<tollen::ui::win32::Win32Window *> m_windows;
    HWND m_window;
};

int runMessageLoop()
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    tollen::ui::win32::Win32Form1 mainWindow;
    const auto thisMachine = tollen::inventory::thisMachineDeviceTree();
    const tollen::ui::SettingsFolders settingsFolders = tollen::ui::programSettingsFolders();
    tollen::ui::Form1 form1(
        mainWindow.controls(),
        tollen::ui::Form1Startup{tollen::cli::commandTail(tollen::utf8Arguments(0, nullptr)),
                                 thisMachine.get(), settingsFolders,
                                 tollen::ui::demoDatabaseHost(settingsFolders.executableFolder)});
    tollen::ui::win32::Win32Splash splashWindow;
    const tollen::ui::SystemVersionProvider versions;
    tollen::ui::frmSplash splash(splashWindow.controls(), versions, form1);
    const LastWindowWatch watch({&mainWindow.window, &splashWindow.window});

    splash.Form_Load();
    if (splash.state() == tollen::ui::frmSplash::State::Refused) {
        return 1;
    }
    splashWindow.window.show();
    const int result = runMessageLoop();
    return splash.mainWindowShown() ? result : 1;
}
