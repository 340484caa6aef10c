#include "ui/win32/Win32Timer.h"

namespace tollen::ui::win32 {
namespace {

constexpr UINT_PTR kTimerId = 1;

} // namespace

Win32Timer::Win32Timer() : m_window(createPanel(HWND_MESSAGE, 0, 0, *this)) {}

Win32Timer::~Win32Timer()
{
    KillTimer(m_window, kTimerId);
    destroyTied(m_window);
}

bool Win32Timer::message(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT &result)
{
    if (message != WM_TIMER || wParam != kTimerId) {
        return false;
    }
    if (onTick) {
        onTick();
    }
    result = 0;
    return true;
}

void Win32Timer::timerChanged()
{
    KillTimer(m_window, kTimerId);
    if (isEnabled() && interval() > 0) {
        SetTimer(m_window, kTimerId, static_cast<UINT>(interval()), nullptr);
    }
}

} // namespace tollen::ui::win32
