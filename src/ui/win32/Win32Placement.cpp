#include "ui/win32/Win32Placement.h"

#include <cmath>

namespace tollen::ui {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kStandardDotsPerInch = 96;

int roundToPixel(double units, double unitsPerPixel)
{
    return static_cast<int>(std::lround(units / unitsPerPixel));
}

} // namespace

PixelScale screenTwipsPerPixel()
{
    HDC screen = GetDC(nullptr);
    int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    dpiX = dpiX > 0 ? dpiX : kStandardDotsPerInch;
    dpiY = dpiY > 0 ? dpiY : kStandardDotsPerInch;
    return PixelScale{kTwipsPerInch / dpiX, kTwipsPerInch / dpiY};
}

RECT toPixels(const Geometry &geometry, PixelScale scale)
{
    const int left = roundToPixel(geometry.left, scale.x);
    const int top = roundToPixel(geometry.top, scale.y);
    return RECT{left, top, left + roundToPixel(geometry.width, scale.x),
                top + roundToPixel(geometry.height, scale.y)};
}

} // namespace tollen::ui
