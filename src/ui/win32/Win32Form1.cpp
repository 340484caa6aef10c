#include "ui/win32/Win32Form1.h"

#include "ui/Form1Design.h"
#include "ui/win32/Win32Fonts.h"

#include <cmath>

namespace tollen::ui::win32 {

Win32Form1::Win32Form1()
{
    const controls::PixelScale scale = window.twipsPerPixel();
    window.setInnerSize(static_cast<int>(std::lround(kForm1DesignWidth / scale.x)),
                        static_cast<int>(std::lround(kForm1DesignHeight / scale.y)));
    window.centre();
    // The status line is drawn in a serif face, as designed.
    static const HFONT serif = makeFont(8, false, L"Times New Roman");
    Label5.setFont(serif);
    // The captions that would not fit the screen's font grow to the right, as on Linux.
    Label7.setFitsText(true);
    Label8.setFitsText(true);
    Check1.setFitsText(true, GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE));
}

Form1Controls Win32Form1::controls()
{
    return Form1Controls::of(*this);
}

} // namespace tollen::ui::win32
