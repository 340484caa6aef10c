#include "ui/win32/Win32Splash.h"

#include "ui/win32/Win32Fonts.h"

namespace tollen::ui::win32 {
namespace {

/// The splash's inner area and its frame, in pixels at 96 dots per inch.
constexpr double kSplashWidth = 480;
constexpr double kSplashHeight = 270;
constexpr controls::Geometry kFrameGeometry{6, 2, 468, 262};
/// The logo's place inside the frame, in twips.
constexpr controls::Geometry kLogoGeometry{300, 450, 1440, 1440};
constexpr int kIconResource = 1;

} // namespace

Win32Logo::Win32Logo(const Placement &placement)
    : HwndControl(placement, L"STATIC", SS_ICON | SS_REALSIZECONTROL)
{
    setGeometry(kLogoGeometry);
    const RECT size = toPixels(kLogoGeometry, placement.scale);
    const auto icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource),
                                 IMAGE_ICON, size.right - size.left, size.bottom - size.top, 0);
    SendMessageW(hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

Win32Splash::Win32Splash()
    : window(WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW), Frame1(window),
      Label1(Frame1.inside()), imgLogo(Frame1.inside()), lblVersion(Frame1.inside()),
      lblPlatform(Frame1.inside()), lblOwner(Frame1.inside()), lblMaker(Frame1.inside()),
      lblTagline(Frame1.inside())
{
    window.setCaption(controls::kApplicationTitle);
    static const HFONT title = makeFont(8 * 2.4, true);
    static const HFONT tagline = makeFont(8 * 1.1, false);
    Label1.setFont(title);
    lblTagline.setFont(tagline);
    layOut();
}

void Win32Splash::layOut()
{
    // Pixels at 96 dots per inch, as designed, grown with the screen's dots per inch.
    const controls::PixelScale perPixel = window.twipsPerPixel();
    const double grow = 15 / perPixel.x;
    window.setInnerSize(static_cast<int>(kSplashWidth * grow),
                        static_cast<int>(kSplashHeight * grow));
    Frame1.setGeometry({kFrameGeometry.left * grow, kFrameGeometry.top * grow,
                        kFrameGeometry.width * grow, kFrameGeometry.height * grow});
    Label1.setGeometry({2000, 420, 4800, 700});
    lblTagline.setGeometry({2000, 1140, 4800, 300});
    lblVersion.setGeometry({2000, 1560, 4800, 300});
    lblPlatform.setGeometry({2000, 1860, 4800, 300});
    lblOwner.setGeometry({300, 3000, 6600, 255});
    lblMaker.setGeometry({300, 3300, 6600, 255});
    window.centre();
}

SplashControls Win32Splash::controls()
{
    return SplashControls::of(*this);
}

} // namespace tollen::ui::win32
