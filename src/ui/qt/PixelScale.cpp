#include "ui/qt/PixelScale.h"

#include <QScreen>

namespace tollen::ui::qt {

controls::PixelScale twipsPerPixel(const QScreen *screen)
{
    return screen ? controls::twipsPerPixelAt(screen->logicalDotsPerInchX(),
                                              screen->logicalDotsPerInchY())
                  : controls::twipsPerPixelAt(0, 0);
}

QRect toPixels(const controls::Geometry &geometry, controls::PixelScale scale)
{
    const controls::PixelRectangle pixels = controls::toPixelRectangle(geometry, scale);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

} // namespace tollen::ui::qt
