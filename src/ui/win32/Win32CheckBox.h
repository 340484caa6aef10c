#pragma once

#include "controls/CheckBox.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// The button checks itself when clicked; the control then takes the new state.
class Win32CheckBox : public CaptionedHwnd<controls::CheckBox>
{
public:
    explicit Win32CheckBox(const Placement &placement)
        : CaptionedHwnd(placement, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP)
    {
    }

    void command(WORD code) override
    {
        if (code == BN_CLICKED) {
            setChecked(SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED);
        }
    }

protected:
    void checkedChanged() override
    {
        SendMessageW(hwnd(), BM_SETCHECK, isChecked() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
};

} // namespace tollen::ui::win32
