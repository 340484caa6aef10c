#include "ui/qt/PixelScale.h"

#include <QScreen>
#include <cmath>

namespace tollen::ui {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kStandardDotsPerInch = 96;

int roundToPixel(double units, double unitsPerPixel)
{
    return static_cast<int>(std::lround(units / unitsPerPixel));
}

} // namespace

PixelScale twipsPerPixel(const QScreen *screen)
{
    const double dpiX = screen ? screen->logicalDotsPerInchX() : kStandardDotsPerInch;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : kStandardDotsPerInch;
    return PixelScale{kTwipsPerInch / (dpiX > 0 ? dpiX : kStandardDotsPerInch),
                      kTwipsPerInch / (dpiY > 0 ? dpiY : kStandardDotsPerInch)};
}

QRect toPixels(const Geometry &geometry, PixelScale scale)
{
    return QRect(roundToPixel(geometry.left, scale.x), roundToPixel(geometry.top, scale.y),
                 roundToPixel(geometry.width, scale.x), roundToPixel(geometry.height, scale.y));
}

} // namespace tollen::ui
