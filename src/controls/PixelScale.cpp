#include "controls/PixelScale.h"

#include <cmath>

namespace tollen::controls {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kStandardDotsPerInch = 96;

int roundToPixel(double units, double unitsPerPixel)
{
    return static_cast<int>(std::lround(units / unitsPerPixel));
}

} // namespace

PixelScale twipsPerPixelAt(double dotsPerInchX, double dotsPerInchY)
{
    return PixelScale{kTwipsPerInch / (dotsPerInchX > 0 ? dotsPerInchX : kStandardDotsPerInch),
                      kTwipsPerInch / (dotsPerInchY > 0 ? dotsPerInchY : kStandardDotsPerInch)};
}

PixelRectangle toPixelRectangle(const Geometry &geometry, PixelScale scale)
{
    return PixelRectangle{roundToPixel(geometry.left, scale.x), roundToPixel(geometry.top, scale.y),
                          roundToPixel(geometry.width, scale.x),
                          roundToPixel(geometry.height, scale.y)};
}

} // namespace tollen::controls
