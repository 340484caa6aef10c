#pragma once
// Placing Qt widgets on the screen, in the units of controls/PixelScale.h.

#include "controls/PixelScale.h"

#include <QRect>

class QScreen;
class QWidget;

namespace tollen::ui::qt {

/// Where a control's widget goes: its parent widget and the units of the control's geometry.
struct Placement
{
    QWidget *parent = nullptr;
    controls::PixelScale scale;
};

/// The twips per pixel of a screen: 1440 twips make an inch, so 15 at 96 logical dots per inch.
/// Without a screen the standard 96 dots per inch are assumed.
controls::PixelScale twipsPerPixel(const QScreen *screen);

/// The rectangle in pixels of a geometry given in `scale`'s units, rounded to whole pixels.
QRect toPixels(const controls::Geometry &geometry, controls::PixelScale scale);

} // namespace tollen::ui::qt
