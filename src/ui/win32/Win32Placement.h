#pragma once
// Placing controls on the screen: a control's geometry is kept in its parent's units (pixels for
// frames, twips for controls inside a frame) and drawn in pixels.

#include "controls/controls.h"
#include "ui/win32/SystemHeaders.h"

namespace tollen::ui {

/// How many of a control's units make one pixel: 1 for pixels, the twips per pixel for twips.
struct PixelScale
{
    double x = 1;
    double y = 1;
};

inline constexpr PixelScale kPixels{1, 1};

/// Where a control's window goes: its parent window and the units of the control's geometry.
struct Placement
{
    HWND parent = nullptr;
    PixelScale scale;
};

/// The screen's twips per pixel: 1440 twips make an inch, so 15 at 96 dots per inch.
PixelScale screenTwipsPerPixel();

/// The rectangle in pixels of a geometry given in `scale`'s units, rounded to whole pixels.
RECT toPixels(const Geometry &geometry, PixelScale scale);

} // namespace tollen::ui
