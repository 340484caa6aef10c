// What only the Win32 face has: the system's dialogs answered as a user would, the clipboard,
// the launcher, and the list view's and list box's own messages.

#include "TestPlatform.h"
#include "Win32Face.h"
#include "core/WideText.h"
#include "ui/win32/Win32Button.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/Win32Label.h"
#include "ui/win32/Win32ListBox.h"
#include "ui/win32/Win32ListView.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tollen::controls::testing {
namespace {

using ui::win32::Placement;
using ui::win32::toDialogFilter;
using ui::win32::Win32Button;
using ui::win32::Win32Clipboard;
using ui::win32::Win32Dialogs;
using ui::win32::Win32Frame;
using ui::win32::Win32Launcher;
using ui::win32::Win32ListBox;
using ui::win32::Win32ListView;
using ui::win32::Win32Window;
using ui::win32::windowText;

struct DialogWait
{
    std::wstring title;
    std::function<void(HWND)> answer;
    UINT_PTR timer = 0;
};

DialogWait &dialogWait()
{
    static DialogWait wait;
    return wait;
}

BOOL CALLBACK matchDialog(HWND window, LPARAM found)
{
    wchar_t text[256] = {};
    wchar_t className[32] = {};
    GetWindowTextW(window, text, 256);
    GetClassNameW(window, className, 32);
    if (dialogWait().title == text && std::wstring(className) == L"#32770" &&
        IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK lookForDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), matchDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, dialogWait().timer);
    auto answer = std::move(dialogWait().answer);
    answer(dialog);
}

void press(HWND dialog, int button)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

const FileDialogRequest kProfileRequest{"Save hardware-profile as...",
                                        "Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*",
                                        kOverwritePrompt | kHideReadOnly | kNoChangeDirectory |
                                            kPathMustExist,
                                        "",
                                        "hwp",
                                        true};

TEST(Win32Dialogs, TheMessageBoxAnswersWithTheButtonPressedAndTheInputBoxWithTheText)
{
    struct Row
    {
        MessageButtons buttons;
        std::optional<std::string> title;
        int pressed;
        int expected;
    };
    const Row rows[] = {
        {MessageButtons::YesNo, std::string("Confirm"), IDYES, kAnswerYes},
        {MessageButtons::YesNo, std::nullopt, IDNO, kAnswerNo},
        {MessageButtons::OkStop, std::string("Error"), IDOK, kAnswerOk},
        {MessageButtons::Ok, std::nullopt, IDOK, kAnswerOk},
    };
    Win32Dialogs dialogs;
    for (const Row &row : rows) {
        int buttons = 0;
        whenDialogOpens(row.title.value_or("Tollen"), [&](HWND dialog) {
            buttons = (GetDlgItem(dialog, IDYES) ? 1 : 0) + (GetDlgItem(dialog, IDNO) ? 1 : 0);
            press(dialog, row.pressed);
        });
        EXPECT_EQ(dialogs.messageBox("Download driver?", row.buttons, row.title), row.expected);
        EXPECT_EQ(buttons, row.buttons == MessageButtons::YesNo ? 2 : 0);
    }

    std::string shownDefault;
    whenDialogOpens("Driver Query", [&](HWND dialog) {
        shownDefault = windowText(GetDlgItem(dialog, 101));
        SetDlgItemTextW(dialog, 101, L"Gerät 8086");
        press(dialog, IDOK);
    });
    EXPECT_EQ(dialogs.inputBox("Enter query string", "Driver Query", "PCI"), "Gerät 8086");
    EXPECT_EQ(shownDefault, "PCI");

    whenDialogOpens("Tollen", [](HWND dialog) { press(dialog, IDCANCEL); });
    EXPECT_EQ(dialogs.inputBox("Enter query string", "", "typed but cancelled"), "");
}

TEST(Win32FileDialog, SaveAddsTheDefaultExtensionOpenChoosesAFileAndCancelGivesTheCancelError)
{
    const tollen::testing::TemporaryFolder folder;
    FileDialogRequest request = kProfileRequest;
    request.initialName = utf8FromWide((folder.path() / L"profile").wstring());
    whenDialogOpens(request.title, [](HWND dialog) { press(dialog, IDOK); });
    Win32Dialogs dialogs;
    const FileDialogResult chosen = dialogs.showSave(request);
    ASSERT_TRUE(chosen) << chosen.error;
    EXPECT_EQ(std::filesystem::path(wideFromUtf8(chosen.path)), folder.path() / L"profile.hwp");

    whenDialogOpens(request.title, [](HWND dialog) { press(dialog, IDCANCEL); });
    const FileDialogResult cancelled = dialogs.showSave(request);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(cancelled.error, 32755);

    const auto file = folder.path() / L"Gerät.hwp";
    std::ofstream(file) << "[Tollen]\n";
    request.title = "Load hardware-profile";
    request.initialName = utf8FromWide(file.wstring());
    whenDialogOpens(request.title, [](HWND dialog) { press(dialog, IDOK); });
    const FileDialogResult opened = dialogs.showOpen(request);
    ASSERT_TRUE(opened) << opened.error;
    EXPECT_EQ(std::filesystem::path(wideFromUtf8(opened.path)), file);
}

TEST(Win32FileDialog, FilterBecomesPairsOfZeroEndedTexts)
{
    EXPECT_EQ(toDialogFilter("Hardware Profile (*.hwp)|*.hwp|All Files (*.*)|*.*"),
              std::wstring(L"Hardware Profile (*.hwp)\0*.hwp\0All Files (*.*)\0*.*\0\0", 52));
    EXPECT_EQ(toDialogFilter(""), L"");
}

TEST(Win32Services, TheClipboardKeepsUnicodeTextAndTheLauncherReportsWhatItCannotOpen)
{
    Win32Clipboard clipboard;
    clipboard.setText("PCI\\VEN_8086 – Gerät ✓");
    EXPECT_EQ(clipboard.text(), "PCI\\VEN_8086 – Gerät ✓");
    clipboard.setText("");
    EXPECT_EQ(clipboard.text(), "");
    Win32Launcher launcher;
    EXPECT_FALSE(launcher.open(""));
    EXPECT_FALSE(launcher.open("C:\\no such folder\\no such file.tollen-test"));
}

struct Parent
{
    Parent()
    {
        window.setInnerSize(640, 480);
        window.show();
    }
    Placement twips() const { return {window.hwnd(), window.twipsPerPixel()}; }
    Win32Window window;
};

TEST(Win32ListView, StylesAndColumnWidthsGoThroughTheListViewsMessages)
{
    const Parent parent;
    Win32ListView list(parent.twips());
    list.setReportView(true);
    list.addColumn("Device ID", 3000);
    list.addColumn("Device Name", 2250);
    const double perPixel = parent.window.twipsPerPixel().x;
    EXPECT_EQ(SendMessageW(list.hwnd(), LVM_GETCOLUMNWIDTH, 0, 0), std::lround(3000 / perPixel));
    EXPECT_EQ(SendMessageW(list.hwnd(), LVM_GETCOLUMNWIDTH, 1, 0), std::lround(2250 / perPixel));
    EXPECT_EQ(GetWindowLongPtrW(list.hwnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
}

TEST(Win32ListView, ClicksReachTheProgram)
{
    const Parent parent;
    Win32ListView list(parent.twips());
    list.setGeometry({0, 0, 6000, 3000});
    list.setReportView(true);
    list.setExtendedStyle(LVS_EX_FULLROWSELECT);
    list.addColumn("Device ID", 3000);
    list.addRow("PCI\\A");
    list.addRow("PCI\\B");
    std::vector<std::string> events;
    const controls::Connection listItemClickHandler =
        list.onItemClick.connect([&](int row) { events.push_back("item " + std::to_string(row)); });
    const controls::Connection listClickHandler =
        list.onClick.connect([&] { events.push_back("click"); });
    const controls::Connection listKeyPressHandler =
        list.onKeyPress.connect([&](int code) { events.push_back("key " + std::to_string(code)); });
    pumpMessages(0);
    RECT second{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    clickAt(list.hwnd(), second.left + 10, (second.top + second.bottom) / 2);
    pumpMessages(50);
    EXPECT_EQ(list.selectedRow(), 2);
    SendMessageW(list.hwnd(), WM_CHAR, L'\r', 1);
    EXPECT_EQ(events, (std::vector<std::string>{"item 2", "click", "key 13"}));
}

TEST(Win32ListBox, KeysAndDoubleClicksReachTheProgram)
{
    const Parent parent;
    Win32ListBox list(parent.twips());
    list.setGeometry({0, 0, 3000, 1500});
    list.addItem("PCI");
    std::vector<int> keys;
    int doubleClicks = 0;
    const controls::Connection listKeyPressHandler =
        list.onKeyPress.connect([&](int code) { keys.push_back(code); });
    const controls::Connection listDoubleClickHandler =
        list.onDoubleClick.connect([&] { ++doubleClicks; });
    SendMessageW(list.hwnd(), WM_CHAR, L'\r', 1);
    SendMessageW(list.hwnd(), WM_CHAR, L'a', 1);
    EXPECT_EQ(keys, (std::vector<int>{13, 'a'}));
    RECT item{};
    SendMessageW(list.hwnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM(item.left + 5, item.top + 2);
    PostMessageW(list.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageW(list.hwnd(), WM_LBUTTONUP, 0, point);
    pumpMessages(20);
    EXPECT_EQ(doubleClicks, 1);
}

TEST(Win32Frame, HoldsItsControlsInTwipsAndPassesClicksOn)
{
    const Parent parent;
    Win32Frame frame(parent.window);
    frame.setCaption("Devices");
    frame.setGeometry({152, 8, 361, 201});
    Win32Button button(frame.inside());
    button.setCaption("Scan");
    button.setGeometry({4080, 2520, 1215, 375});
    int frameClicks = 0;
    int buttonClicks = 0;
    const controls::Connection frameClickHandler = frame.onClick.connect([&] { ++frameClicks; });
    const controls::Connection buttonClickHandler = button.onClick.connect([&] { ++buttonClicks; });

    RECT shown{};
    GetWindowRect(button.hwnd(), &shown);
    MapWindowPoints(nullptr, frame.hwnd(), reinterpret_cast<POINT *>(&shown), 2);
    const double perPixel = parent.window.twipsPerPixel().x;
    EXPECT_EQ(shown.left, std::lround(4080 / perPixel));
    EXPECT_EQ(shown.right - shown.left, std::lround(1215 / perPixel));
    EXPECT_EQ(windowText(frame.hwnd()), "Devices");

    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    pumpMessages(0);
    clickAt(frame.hwnd(), 3, 100);
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(frameClicks, 1);
}

} // namespace

void whenDialogOpens(const std::string &title, std::function<void(HWND)> answer)
{
    dialogWait().title = wideFromUtf8(title);
    dialogWait().answer = std::move(answer);
    dialogWait().timer = SetTimer(nullptr, 0, 20, lookForDialog);
}

} // namespace tollen::controls::testing
