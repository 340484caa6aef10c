#pragma once

#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

class Win32Button : public CaptionedHwnd<controls::Button>
{
public:
    explicit Win32Button(const Placement &placement)
        : CaptionedHwnd(placement, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP)
    {
    }

    void command(WORD code) override
    {
        if (code == BN_CLICKED && onClick) {
            onClick();
        }
    }
};

} // namespace tollen::ui::win32
