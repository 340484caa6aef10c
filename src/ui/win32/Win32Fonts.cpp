#include "ui/win32/Win32Fonts.h"

#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

HFONT makeFont(double points, bool bold, const wchar_t *face)
{
    LOGFONTW font{};
    GetObjectW(standardFont(), sizeof font, &font);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    font.lfHeight = -static_cast<LONG>(points * dpi / 72 + 0.5);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    if (face != nullptr && *face != L'\0') {
        lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
        font.lfPitchAndFamily = FF_ROMAN;
    }
    return CreateFontIndirectW(&font);
}

} // namespace tollen::ui::win32
