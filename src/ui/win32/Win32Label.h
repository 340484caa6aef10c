#pragma once

#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// A static text on one line; "&" is shown as it stands, not as a mnemonic.
class Win32Label : public CaptionedHwnd<controls::Label>
{
public:
    explicit Win32Label(const Placement &placement)
        : CaptionedHwnd(placement, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX)
    {
        // A label made later is drawn over the ones before it, as the window was designed (the
        // caption above the results list starts inside the long one above the refinements).
        // Labels take no focus, so the order of the controls that do is unchanged.
        SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
};

} // namespace tollen::ui::win32
