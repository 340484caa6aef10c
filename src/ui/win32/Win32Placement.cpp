#include "ui/win32/Win32Placement.h"

namespace tollen::ui::win32 {

controls::PixelScale screenTwipsPerPixel()
{
    HDC screen = GetDC(nullptr);
    const int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    const int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return controls::twipsPerPixelAt(dpiX, dpiY);
}

RECT toPixels(const controls::Geometry &geometry, controls::PixelScale scale)
{
    const controls::PixelRectangle pixels = controls::toPixelRectangle(geometry, scale);
    return RECT{pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

} // namespace tollen::ui::win32
