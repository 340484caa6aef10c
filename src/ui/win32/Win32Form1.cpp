#include "ui/win32/Win32Form1.h"

#include "ui/Form1Design.h"
#include "ui/win32/Win32Fonts.h"

#include <cmath>

namespace tollen::ui::win32 {

Win32Form1::Win32Form1()
    : Frame3(window), Option1(Frame3.inside()), Label1(Frame3.inside()), host(Frame3.inside()),
      Label2(Frame3.inside()), path(Frame3.inside()), Label3(Frame3.inside()),
      user(Frame3.inside()), pass(Frame3.inside()), Check1(Frame3.inside()), Frame1(window),
      ListView1(Frame1.inside()), Command4(Frame1.inside()), Command3(Frame1.inside()),
      Command2(Frame1.inside()), Command1(Frame1.inside()), Frame2(window), Label8(Frame2.inside()),
      List1(Frame2.inside()), Label6(Frame2.inside()), Label7(Frame2.inside()),
      List2(Frame2.inside()), ListView2(Frame2.inside()), Label5(Frame2.inside()),
      ProgressBar1(Frame2.inside()), Label9(Frame2.inside())
{
    const controls::PixelScale scale = window.twipsPerPixel();
    window.setInnerSize(static_cast<int>(std::lround(kForm1DesignWidth / scale.x)),
                        static_cast<int>(std::lround(kForm1DesignHeight / scale.y)));
    window.centre();
    // The status line is drawn in a serif face, as designed.
    static const HFONT serif = makeFont(8, false, L"Times New Roman");
    Label5.setFont(serif);
    // The captions that would not fit the screen's font grow to the right, as on Linux.
    Label7.setFitsText(true);
    Label8.setFitsText(true);
    Check1.setFitsText(true, GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE));
}

Form1Controls Win32Form1::controls()
{
    return Form1Controls{window, dialogs,      clipboard, launcher, eventLoop, Frame3,   Option1,
                         Label1, host,         Label2,    path,     Label3,    user,     pass,
                         Check1, Frame1,       ListView1, Command4, Command3,  Command2, Command1,
                         Frame2, Label8,       List1,     Label6,   Label7,    List2,    ListView2,
                         Label5, ProgressBar1, Label9};
}

} // namespace tollen::ui::win32
