#include "ui/win32/Win32Placement.h"

namespace tollen::ui {

PixelScale screenTwipsPerPixel()
{
    HDC screen = GetDC(nullptr);
    const int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    const int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return twipsPerPixelAt(dpiX, dpiY);
}

RECT toPixels(const Geometry &geometry, PixelScale scale)
{
    const PixelRectangle pixels = toPixelRectangle(geometry, scale);
    return RECT{pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

} // namespace tollen::ui
