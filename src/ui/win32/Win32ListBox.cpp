#include "ui/win32/Win32ListBox.h"

#include "core/WideText.h"

#include <algorithm>

namespace tollen::ui::win32 {
namespace {

void insertString(HWND list, int index, const std::string &text)
{
    const std::wstring wide = wideFromUtf8(text);
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(wide.c_str()));
}

} // namespace

Win32ListBox::Win32ListBox(const Placement &placement)
    : HwndControl(placement, L"LISTBOX",
                  LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE)
{
    watchMessages(hwnd());
}

int Win32ListBox::findStringExact(const std::string &text, int start) const
{
    showItems();
    // The list box searches from the entry after `start`; past the end it would fail where the
    // contract searches the whole list.
    const WPARAM from =
        (start < 0 || start >= count()) ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(start);
    const std::wstring wide = wideFromUtf8(text);
    const LRESULT found =
        SendMessageW(hwnd(), LB_FINDSTRINGEXACT, from, reinterpret_cast<LPARAM>(wide.c_str()));
    return found == LB_ERR ? kNotFound : static_cast<int>(found);
}

void Win32ListBox::command(WORD code)
{
    if (code == LBN_SELCHANGE) {
        acceptUserSelection(static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)));
    } else if (code == LBN_DBLCLK && onDoubleClick) {
        onDoubleClick();
    }
}

bool Win32ListBox::character(wchar_t code)
{
    if (onKeyPress) {
        onKeyPress(static_cast<int>(code));
    }
    return false;
}

bool Win32ListBox::message(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT &result)
{
    if (message != kShowPending) {
        return false;
    }
    showItems();
    result = 0;
    return true;
}

void Win32ListBox::itemsChanged()
{
    if (!m_pending) {
        m_pending = true;
        PostMessageW(hwnd(), kShowPending, 0, 0);
    }
}

void Win32ListBox::showItems() const
{
    if (!m_pending) {
        return;
    }
    m_pending = false;
    const std::vector<std::string> &texts = items();
    // The usual changes, entries added at the end, one entry put in elsewhere, or all cleared,
    // reach the list box as they are; any other shows the list anew.
    const auto differ = std::mismatch(m_shown.begin(), m_shown.end(), texts.begin(), texts.end());
    const auto index = static_cast<std::size_t>(differ.first - m_shown.begin());
    if (texts.empty()) {
        SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
        m_shown.clear();
    } else if (differ.first == m_shown.end()) {
        SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
        for (auto text = differ.second; text != texts.end(); ++text) {
            insertString(hwnd(), -1, *text);
        }
        m_shown.insert(m_shown.end(), differ.second, texts.end());
        SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd(), nullptr, TRUE);
    } else if (texts.size() == m_shown.size() + 1 &&
               std::equal(differ.first, m_shown.end(), differ.second + 1)) {
        insertString(hwnd(), static_cast<int>(index), texts[index]);
        m_shown.insert(differ.first, texts[index]);
    } else {
        showAll();
    }
    SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(selectedIndex()), 0);
}

void Win32ListBox::showAll() const
{
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
    for (const std::string &text : items()) {
        insertString(hwnd(), -1, text);
    }
    m_shown = items();
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Win32ListBox::selectionChanged()
{
    showItems();
    SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(selectedIndex()), 0);
}

} // namespace tollen::ui::win32
