#include "ui/Form1Design.h"

namespace tollen::ui {
namespace {

/// Frames are placed in the window's pixels; their designed twips divide evenly by 15.
void placeFrame(controls::Frame &frame, const char *caption, controls::Geometry twips,
                double twipsPerPixelX, double twipsPerPixelY)
{
    frame.setCaption(caption);
    frame.setGeometry(controls::Geometry{twips.left / twipsPerPixelX, twips.top / twipsPerPixelY,
                                         twips.width / twipsPerPixelX,
                                         twips.height / twipsPerPixelY});
}

void place(controls::CaptionedControl &control, const char *caption, controls::Geometry twips)
{
    control.setCaption(caption);
    control.setGeometry(twips);
}

} // namespace

void applyForm1Design(Form1Controls &c)
{
    const double tx = c.window.twipsPerPixelX();
    const double ty = c.window.twipsPerPixelY();
    c.window.setCaption(kForm1Caption);

    placeFrame(c.Frame3, "Network Settings", {120, 120, 2055, 3015}, tx, ty);
    if (c.Option1.count() == 0) {
        c.Option1.addOption("HTTP");
        c.Option1.addOption("FTP");
    }
    place(c.Option1.button(0), "HTTP", {120, 240, 975, 315});
    place(c.Option1.button(1), "FTP", {1080, 240, 855, 315});
    place(c.Label1, "Host URL", {120, 600, 1455, 255});
    c.host.setGeometry({120, 840, 1815, 285});
    place(c.Label2, "Base path", {120, 1200, 975, 255});
    c.path.setGeometry({120, 1440, 1815, 285});
    place(c.Label3, "Username / Password", {120, 1800, 1815, 255});
    c.user.setGeometry({120, 2040, 1815, 285});
    c.pass.setGeometry({120, 2320, 1815, 285});
    c.pass.setMasked(true);
    place(c.Check1, "Open (Don't save)", {120, 2700, 1695, 195});
    // The window opens with HTTP chosen, which needs neither base path nor credentials.
    c.Option1.select(0);
    for (controls::Control *ftpOnly :
         {static_cast<controls::Control *>(&c.Label2), static_cast<controls::Control *>(&c.path),
          static_cast<controls::Control *>(&c.Label3), static_cast<controls::Control *>(&c.user),
          static_cast<controls::Control *>(&c.pass)}) {
        ftpOnly->setVisible(false);
    }

    placeFrame(c.Frame1, "Installed Hardware", {2280, 120, 5415, 3015}, tx, ty);
    c.ListView1.setGeometry({120, 240, 5175, 2295});
    place(c.Command4, "Load profile", {120, 2520, 1335, 375});
    place(c.Command3, "Save profile", {1440, 2520, 1335, 375});
    place(c.Command2, "Other device", {2760, 2520, 1335, 375});
    place(c.Command1, "Scan", {4080, 2520, 1215, 375});

    placeFrame(c.Frame2, "", {120, 3120, 7575, 3495}, tx, ty);
    place(c.Label8, "Database Search Criteria", {120, 120, 4575, 255});
    c.List1.setGeometry({120, 360, 7335, 645});
    place(c.Label6, "Subsys/DEVs", {120, 990, 3135, 255});
    place(c.Label7, "Drivers found in remote database (Click an item to copy download link)",
          {2160, 990, 5175, 255});
    c.List2.setGeometry({120, 1200, 2055, 1620});
    c.ListView2.setGeometry({2160, 1200, 5295, 1815});
    place(c.Label5, "", {120, 3120, 1815, 255});
    c.ProgressBar1.setGeometry({1920, 3120, 5055, 255});
    place(c.Label9, "100%", {6960, 3120, 495, 255});
}

} // namespace tollen::ui
