#include "ui/win32/Win32TextBox.h"

namespace tollen::ui::win32 {

Win32TextBox::Win32TextBox(const Placement &placement)
    : HwndControl(placement, L"EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE)
{
}

void Win32TextBox::command(WORD code)
{
    if (code == EN_CHANGE && !m_rendering) {
        acceptTypedText(windowText(hwnd()));
    }
}

void Win32TextBox::textChanged()
{
    m_rendering = true;
    setWindowText(hwnd(), text());
    m_rendering = false;
}

void Win32TextBox::maskedChanged()
{
    SendMessageW(hwnd(), EM_SETPASSWORDCHAR, isMasked() ? L'*' : 0, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

} // namespace tollen::ui::win32
