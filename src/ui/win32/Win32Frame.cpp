#include "ui/win32/Win32Frame.h"

#include "core/WideText.h"

namespace tollen::ui::win32 {

Win32Frame::Win32Frame(const Win32Window &window)
    : HwndControl(Placement{window.hwnd(), controls::kPixels}, kPanelClass, WS_CLIPCHILDREN),
      m_twipsPerPixel(window.twipsPerPixel())
{
}

void Win32Frame::captionChanged()
{
    setWindowText(hwnd(), caption());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool Win32Frame::message(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT &result)
{
    result = 0;
    switch (message) {
    case WM_PAINT:
        paint();
        return true;
    case WM_LBUTTONUP:
        if (onClick) {
            onClick();
        }
        return true;
    default:
        return false;
    }
}

void Win32Frame::paint()
{
    PAINTSTRUCT paint{};
    HDC context = BeginPaint(hwnd(), &paint);
    const auto oldFont = SelectObject(context, standardFont());
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    RECT border{};
    GetClientRect(hwnd(), &border);
    // The border runs through the middle of the caption's line, as a group box's does.
    border.top += metrics.tmHeight / 2;
    DrawEdge(context, &border, EDGE_ETCHED, BF_RECT);
    const std::wstring text = wideFromUtf8(caption());
    if (!text.empty()) {
        SetBkColor(context, GetSysColor(COLOR_BTNFACE));
        SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
        SetBkMode(context, OPAQUE);
        RECT line{8, 0, border.right - 8, metrics.tmHeight};
        const std::wstring padded = L" " + text + L" ";
        DrawTextW(context, padded.c_str(), static_cast<int>(padded.size()), &line,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(context, oldFont);
    EndPaint(hwnd(), &paint);
}

} // namespace tollen::ui::win32
