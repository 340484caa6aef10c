#pragma once
// Screen units for the faces that draw the controls: a control's geometry is kept in its parent's
// units (pixels for frames, twips for controls inside a frame) and drawn in whole pixels.

#include "controls/Control.h"

namespace tollen::controls {

/// How many of a control's units make one pixel: 1 for pixels, the twips per pixel for twips.
struct PixelScale
{
    double x = 1;
    double y = 1;
};

inline constexpr PixelScale kPixels{1, 1};

/// The twips per pixel of a screen of the given resolution: 1440 twips make an inch, so 15 at 96
/// dots per inch. A resolution the screen does not report (0) is taken as the standard 96.
PixelScale twipsPerPixelAt(double dotsPerInchX, double dotsPerInchY);

/// A rectangle in whole pixels.
struct PixelRectangle
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// The rectangle in pixels of a geometry given in `scale`'s units, each value rounded to the
/// nearest pixel.
PixelRectangle toPixelRectangle(const Geometry &geometry, PixelScale scale);

} // namespace tollen::controls
