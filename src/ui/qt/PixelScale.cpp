#include "ui/qt/PixelScale.h"

#include <QScreen>

namespace tollen::ui {

PixelScale twipsPerPixel(const QScreen *screen)
{
    return screen ? twipsPerPixelAt(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY())
                  : twipsPerPixelAt(0, 0);
}

QRect toPixels(const Geometry &geometry, PixelScale scale)
{
    const PixelRectangle pixels = toPixelRectangle(geometry, scale);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

} // namespace tollen::ui
