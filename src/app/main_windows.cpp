// tollen.exe: the program with its windows on Windows. The splash starts, hands over to the
// main window, and the program ends when its last window closes, as the Linux program does.

#include "cli/CommandTail.h"
#include "core/ProcessText.h"
#include "core/ProgramEdge.h"
#include "ui/ProgramStart.h"
#include "ui/win32/Win32Dialogs.h"
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

/// The splash, then the main window, until the last window closes.
int runWindows()
{
    tollen::ui::win32::Win32Form1 mainWindow;
    tollen::ui::win32::Win32Splash splashWindow;
    tollen::ui::ProgramStart program(mainWindow.controls(), splashWindow.controls(),
                                     {tollen::cli::commandTail(tollen::utf8Arguments(0, nullptr))});
    const LastWindowWatch watch({&mainWindow.window, &splashWindow.window});
    tollen::ui::frmSplash &splash = program.splash();
    splash.Form_Load();
    if (splash.state() == tollen::ui::frmSplash::State::Refused) {
        return 1;
    }
    splashWindow.window.show();
    const int result = runMessageLoop();
    return splash.mainWindowShown() ? result : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // A program of the Windows subsystem has no console to write to: the failure shows in a box.
    return tollen::runAtProgramEdge(
        runWindows,
        [](const std::string &message) {
            tollen::ui::win32::Win32Dialogs().messageBox(message,
                                                         tollen::controls::MessageButtons::OkStop);
        },
        1);
}
