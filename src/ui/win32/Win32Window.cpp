#include "ui/win32/Win32Window.h"

#include <cmath>

namespace tollen::ui::win32 {

Win32Window::Win32Window(DWORD style, DWORD extendedStyle)
    : m_window(createPanel(nullptr, style, extendedStyle, *this)),
      m_twipsPerPixel(screenTwipsPerPixel())
{
}

Win32Window::~Win32Window()
{
    destroyTied(m_window);
}

void Win32Window::setInnerSize(int width, int height)
{
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE)));
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::centre()
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(m_window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Win32Window::caption() const
{
    return windowText(m_window);
}

void Win32Window::setCaption(const std::string &caption)
{
    setWindowText(m_window, caption);
}

bool Win32Window::isEnabled() const
{
    return IsWindowEnabled(m_window) != FALSE;
}

void Win32Window::setEnabled(bool enabled)
{
    EnableWindow(m_window, enabled ? TRUE : FALSE);
}

bool Win32Window::isVisible() const
{
    return IsWindowVisible(m_window) != FALSE;
}

void Win32Window::show()
{
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
}

void Win32Window::close()
{
    ShowWindow(m_window, SW_HIDE);
    if (onClose) {
        onClose();
    }
    if (afterClose) {
        afterClose();
    }
}

int Win32Window::innerWidth() const
{
    RECT inner{};
    return !IsIconic(m_window) && GetClientRect(m_window, &inner) ? inner.right : 0;
}

int Win32Window::innerHeight() const
{
    RECT inner{};
    return !IsIconic(m_window) && GetClientRect(m_window, &inner) ? inner.bottom : 0;
}

bool Win32Window::setOuterSize(double widthTwips, double heightTwips)
{
    if (widthTwips < 0 || heightTwips < 0 || IsIconic(m_window)) {
        return false;
    }
    return SetWindowPos(m_window, nullptr, 0, 0,
                        static_cast<int>(std::lround(widthTwips / m_twipsPerPixel.x)),
                        static_cast<int>(std::lround(heightTwips / m_twipsPerPixel.y)),
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

bool Win32Window::setOuterWidth(double twips)
{
    RECT outer{};
    GetWindowRect(m_window, &outer);
    return setOuterSize(twips, (outer.bottom - outer.top) * m_twipsPerPixel.y);
}

bool Win32Window::setOuterHeight(double twips)
{
    RECT outer{};
    GetWindowRect(m_window, &outer);
    return setOuterSize((outer.right - outer.left) * m_twipsPerPixel.x, twips);
}

bool Win32Window::message(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT &result)
{
    result = 0;
    switch (message) {
    case WM_SIZE:
        if (onResize) {
            onResize();
        }
        return true;
    case WM_CLOSE:
        close();
        return true;
    case WM_CHAR:
        if (onKeyPress) {
            onKeyPress(static_cast<int>(wParam));
        }
        return true;
    default:
        return false;
    }
}

} // namespace tollen::ui::win32
