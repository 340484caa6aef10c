#pragma once

#include "ui/win32/Win32Control.h"

namespace tollen::ui {

/// A static text; "&" is shown as it stands, not as a mnemonic.
class Win32Label : public CaptionedHwnd<Label>
{
public:
    explicit Win32Label(const Placement &placement)
        : CaptionedHwnd(placement, L"STATIC", SS_LEFT | SS_NOPREFIX)
    {
    }
};

} // namespace tollen::ui
