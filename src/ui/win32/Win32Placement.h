#pragma once
// Placing windows on the screen, in the units of controls/PixelScale.h.

#include "controls/PixelScale.h"
#include "ui/win32/SystemHeaders.h"

namespace tollen::ui::win32 {

/// Where a control's window goes: its parent window and the units of the control's geometry.
struct Placement
{
    HWND parent = nullptr;
    controls::PixelScale scale;
};

/// The screen's twips per pixel: 1440 twips make an inch, so 15 at 96 dots per inch.
controls::PixelScale screenTwipsPerPixel();

/// The rectangle in pixels of a geometry given in `scale`'s units, rounded to whole pixels.
RECT toPixels(const controls::Geometry &geometry, controls::PixelScale scale);

} // namespace tollen::ui::win32
