#include "ui/win32/Win32ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace tollen::ui::win32 {

Win32ProgressBar::Win32ProgressBar(const Placement &placement)
    : HwndControl(placement, PROGRESS_CLASSW, 0)
{
    SendMessageW(hwnd(), PBM_SETRANGE32, 0, kSteps);
}

void Win32ProgressBar::progressChanged()
{
    const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    const bool busy = maximum() <= 0;
    if (busy != ((style & PBS_MARQUEE) != 0)) {
        SetWindowLongPtrW(hwnd(), GWL_STYLE, busy ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
        SendMessageW(hwnd(), PBM_SETMARQUEE, busy ? TRUE : FALSE, 0);
    }
    if (!busy) {
        const double fraction = std::clamp(value() / maximum(), 0.0, 1.0);
        SendMessageW(hwnd(), PBM_SETPOS, static_cast<WPARAM>(std::lround(fraction * kSteps)), 0);
    }
}

} // namespace tollen::ui::win32
