// The contract suite on the Win32 face: what the screen shows is read back from the windows
// with their own messages, and the user's acts are the messages a user's mouse and keyboard
// give the controls.

#include "Win32Face.h"

#include "../../controls/ControlFace.h"
#include "core/WideText.h"
#include "ui/win32/Win32CheckBox.h"
#include "ui/win32/Win32Label.h"
#include "ui/win32/Win32ListBox.h"
#include "ui/win32/Win32ListView.h"
#include "ui/win32/Win32OptionGroup.h"
#include "ui/win32/Win32ProgressBar.h"
#include "ui/win32/Win32TextBox.h"
#include "ui/win32/Win32Timer.h"

#include <deque>

namespace tollen::controls::testing {
namespace {

using ui::win32::createPanel;
using ui::win32::destroyTied;
using ui::win32::MessageTarget;
using ui::win32::Placement;
using ui::win32::Win32CheckBox;
using ui::win32::Win32EventLoop;
using ui::win32::Win32Label;
using ui::win32::Win32ListBox;
using ui::win32::Win32ListView;
using ui::win32::Win32OptionGroup;
using ui::win32::Win32ProgressBar;
using ui::win32::Win32TextBox;
using ui::win32::Win32Timer;
using ui::win32::Win32Window;
using ui::win32::windowText;

constexpr UINT kRunPosted = WM_APP + 1;

/// Runs actions posted to it when its message comes through the event loop.
class PostBox : public MessageTarget
{
public:
    PostBox() : m_window(createPanel(HWND_MESSAGE, 0, 0, *this)) {}
    ~PostBox() override { destroyTied(m_window); }

    void post(std::function<void()> action)
    {
        m_actions.push_back(std::move(action));
        PostMessageW(m_window, kRunPosted, 0, 0);
    }

    bool message(UINT message, WPARAM, LPARAM, LRESULT &result) override
    {
        if (message != kRunPosted || m_actions.empty()) {
            return false;
        }
        auto action = std::move(m_actions.front());
        m_actions.pop_front();
        action();
        result = 0;
        return true;
    }

private:
    HWND m_window;
    std::deque<std::function<void()>> m_actions;
};

class Win32Face : public ControlFace
{
public:
    Win32Face()
    {
        m_parent.setInnerSize(800, 600);
        m_parent.show();
    }

    std::unique_ptr<ListBox> listBox() override
    {
        auto list = std::make_unique<Win32ListBox>(placement());
        list->setGeometry({0, 0, 3000, 1500});
        return list;
    }
    std::unique_ptr<ListView> listView() override
    {
        auto list = std::make_unique<Win32ListView>(placement());
        list->setGeometry({0, 0, 6000, 3000});
        return list;
    }
    std::unique_ptr<TextBox> textBox() override
    {
        auto box = std::make_unique<Win32TextBox>(placement());
        box->setGeometry({0, 0, 3000, 300});
        return box;
    }
    std::unique_ptr<OptionGroup> optionGroup() override
    {
        return std::make_unique<Win32OptionGroup>(placement());
    }
    std::unique_ptr<CheckBox> checkBox() override
    {
        auto box = std::make_unique<Win32CheckBox>(placement());
        box->setGeometry({0, 0, 3000, 300});
        return box;
    }
    std::unique_ptr<Label> label() override { return std::make_unique<Win32Label>(placement()); }
    std::unique_ptr<ProgressBar> progressBar() override
    {
        return std::make_unique<Win32ProgressBar>(placement());
    }
    std::unique_ptr<Timer> timer() override { return std::make_unique<Win32Timer>(); }
    std::unique_ptr<Window> window() override
    {
        auto window = std::make_unique<Win32Window>();
        window->setInnerSize(300, 200);
        window->show();
        return window;
    }
    EventLoop &eventLoop() override { return m_loop; }
    double twipsPerPixel() override { return m_parent.twipsPerPixel().x; }

    Geometry shownPixels(Control &control) override
    {
        RECT shown{};
        HWND window = hwndOf(control);
        GetWindowRect(window, &shown);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT *>(&shown), 2);
        return {static_cast<double>(shown.left), static_cast<double>(shown.top),
                static_cast<double>(shown.right - shown.left),
                static_cast<double>(shown.bottom - shown.top)};
    }
    std::vector<std::string> shownItems(ListBox &list) override
    {
        pumpMessages(0);
        HWND window = win32(list).hwnd();
        std::vector<std::string> texts;
        const auto count = SendMessageW(window, LB_GETCOUNT, 0, 0);
        for (WPARAM index = 0; index < static_cast<WPARAM>(count); ++index) {
            std::wstring text(
                static_cast<std::size_t>(SendMessageW(window, LB_GETTEXTLEN, index, 0)), L'\0');
            // LB_GETTEXT writes the terminating zero as well.
            text.resize(text.size() + 1);
            text.resize(static_cast<std::size_t>(
                SendMessageW(window, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
            texts.push_back(utf8FromWide(text));
        }
        return texts;
    }
    int shownSelection(ListBox &list) override
    {
        pumpMessages(0);
        return static_cast<int>(SendMessageW(win32(list).hwnd(), LB_GETCURSEL, 0, 0));
    }
    int shownRowCount(ListView &list) override
    {
        pumpMessages(0);
        return static_cast<int>(SendMessageW(win32(list).hwnd(), LVM_GETITEMCOUNT, 0, 0));
    }
    std::string shownCell(ListView &list, int row, int column) override
    {
        pumpMessages(0);
        std::wstring text(512, L'\0');
        LVITEMW item{};
        item.iSubItem = column - 1;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length =
            SendMessageW(win32(list).hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row - 1),
                         reinterpret_cast<LPARAM>(&item));
        text.resize(static_cast<std::size_t>(length));
        return utf8FromWide(text);
    }
    int shownSelectedRow(ListView &list) override
    {
        pumpMessages(0);
        return static_cast<int>(SendMessageW(win32(list).hwnd(), LVM_GETNEXTITEM,
                                             static_cast<WPARAM>(-1), LVNI_SELECTED)) +
               1;
    }
    bool shownFullRowSelect(ListView &list) override
    {
        return (SendMessageW(win32(list).hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                LVS_EX_FULLROWSELECT) != 0;
    }
    std::string shownText(TextBox &box) override { return windowText(win32(box).hwnd()); }
    bool shownMasked(TextBox &box) override
    {
        return SendMessageW(win32(box).hwnd(), EM_GETPASSWORDCHAR, 0, 0) == L'*';
    }
    std::string shownCaption(CaptionedControl &control) override
    {
        return windowText(hwndOf(control));
    }
    bool shownChecked(CheckBox &box) override
    {
        return SendMessageW(hwndOf(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::vector<bool> shownOptions(OptionGroup &group) override
    {
        auto &options = dynamic_cast<Win32OptionGroup &>(group);
        std::vector<bool> checked;
        for (int index = 0; index < group.count(); ++index) {
            checked.push_back(SendMessageW(options.radioButton(index), BM_GETCHECK, 0, 0) ==
                              BST_CHECKED);
        }
        return checked;
    }
    double shownProgress(ProgressBar &bar) override
    {
        HWND window = dynamic_cast<Win32ProgressBar &>(bar).hwnd();
        if ((GetWindowLongPtrW(window, GWL_STYLE) & PBS_MARQUEE) != 0) {
            return -1;
        }
        const auto high = SendMessageW(window, PBM_GETRANGE, FALSE, 0);
        return static_cast<double>(SendMessageW(window, PBM_GETPOS, 0, 0)) /
               static_cast<double>(high);
    }

    void userSelects(ListBox &list, int index) override
    {
        pumpMessages(0);
        HWND window = win32(list).hwnd();
        RECT item{};
        SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        clickAt(window, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    }
    void userSelectsRow(ListView &list, int row) override
    {
        pumpMessages(0);
        // The state change a click makes, with the notification the list view sends for it.
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(win32(list).hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row - 1),
                     reinterpret_cast<LPARAM>(&state));
    }
    void userTypes(TextBox &box, const std::string &text) override
    {
        HWND window = win32(box).hwnd();
        SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(-2), -1);
        for (const wchar_t character : wideFromUtf8(text)) {
            SendMessageW(window, WM_CHAR, character, 1);
        }
    }
    void userClicks(OptionGroup &group, int index) override
    {
        // A click lands on the button only where it has room.
        group.button(index).setGeometry({0, 300.0 * index, 2000, 300});
        SendMessageW(dynamic_cast<Win32OptionGroup &>(group).radioButton(index), BM_CLICK, 0, 0);
        runEvents(0);
    }
    void userClicks(CheckBox &box) override
    {
        SendMessageW(hwndOf(box), BM_CLICK, 0, 0);
        runEvents(0);
    }

    void runEvents(int milliseconds) override { pumpMessages(milliseconds); }
    void postEvent(std::function<void()> action) override { m_posts.post(std::move(action)); }

private:
    Placement placement() { return {m_parent.hwnd(), m_parent.twipsPerPixel()}; }
    static Win32ListBox &win32(ListBox &list) { return dynamic_cast<Win32ListBox &>(list); }
    static Win32ListView &win32(ListView &list) { return dynamic_cast<Win32ListView &>(list); }
    static Win32TextBox &win32(TextBox &box) { return dynamic_cast<Win32TextBox &>(box); }
    static HWND hwndOf(Control &control)
    {
        if (auto *label = dynamic_cast<Win32Label *>(&control)) {
            return label->hwnd();
        }
        if (auto *box = dynamic_cast<Win32CheckBox *>(&control)) {
            return box->hwnd();
        }
        return dynamic_cast<Win32ListBox &>(control).hwnd();
    }

    Win32Window m_parent;
    Win32EventLoop m_loop;
    PostBox m_posts;
};

} // namespace

void pumpMessages(int milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (milliseconds > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

void clickAt(HWND window, int x, int y)
{
    const LPARAM point = MAKELPARAM(x, y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(window, WM_LBUTTONUP, 0, point);
    pumpMessages(0);
}

static ControlFace &face()
{
    static Win32Face face;
    return face;
}

INSTANTIATE_TEST_SUITE_P(Win32, Contract, ::testing::Values(&face));

} // namespace tollen::controls::testing
