#include "ui/frmSplash.h"

#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

class FixedVersion : public VersionProvider
{
public:
    explicit FixedVersion(std::optional<WindowsVersion> version) : m_version(version) {}
    std::optional<WindowsVersion> query() const override { return m_version; }

private:
    std::optional<WindowsVersion> m_version;
};

/// A splash and a main window without a screen.
struct SplashRig
{
    explicit SplashRig(std::optional<WindowsVersion> version) : versions(version) {}
    void load()
    {
        window.show();
        splash.Form_Load();
    }

    controls::HeadlessWindow window{400, 250};
    controls::HeadlessDialogs dialogs;
    controls::Frame Frame1;
    controls::Timer Timer1;
    controls::Label Label1, lblVersion, lblPlatform, lblOwner, lblMaker, lblTagline;
    HeadlessForm1 mainControls;
    Form1 form{mainControls.controls(), Form1Startup{}};
    FixedVersion versions;
    frmSplash splash{SplashControls::of(*this), versions, form};
};

TEST(Splash, AcceptedVersionsSetTheLabelTheRootAndTheFamilyAndWait)
{
    constexpr const char *kNt = "SYSTEM\\CurrentControlSet\\Enum\\";
    struct Row
    {
        WindowsVersion version;
        const char *label;
        bool isNT;
        const char *enumRoot;
    };
    for (const Row &row :
         {Row{{1, 4, 0}, "Running on Windows 95", false, "Enum\\"},
          Row{{1, 4, 10}, "Running on Windows 98/ME", false, "Enum\\"},
          Row{{1, 4, 90}, "Running on Windows 98/ME", false, "Enum\\"},
          Row{{2, 4, 0}, "Running on Windows NT 4.0", true, kNt},
          Row{{2, 5, 1}, "Running on Windows XP", true, kNt},
          Row{{2, 6, 1}, "Running on Windows 7", true, kNt},
          Row{{2, 6, 3}, "Running on Windows 8.1", true, kNt},
          Row{{2, 10, 0}, "Platform", true, kNt}, Row{{2, 0, 0}, "Platform", true, kNt},
          Row{{2, 6, 10}, "Platform", true, kNt}, Row{{3, 1, 0}, "Platform", false, ""}}) {
        SCOPED_TRACE(::testing::Message() << row.version.platformId << '.' << row.version.major
                                          << '.' << row.version.minor);
        SplashRig rig(row.version);
        rig.load();
        EXPECT_EQ(rig.lblPlatform.caption(), row.label);
        EXPECT_EQ(rig.form.IsNT, row.isNT);
        EXPECT_EQ(rig.form.EnumRoot, row.enumRoot);
        EXPECT_EQ(rig.splash.state(), frmSplash::State::Waiting);
        EXPECT_TRUE(rig.Timer1.isEnabled());
        EXPECT_EQ(rig.Timer1.interval(), 1000);
        // Only Windows 95 warns, and goes on.
        const bool warns = row.version.platformId == 1 && row.version.minor == 0;
        EXPECT_EQ(rig.dialogs.questions().size(), warns ? 1u : 0u);
    }
}

TEST(Splash, TheThirdTickOrAKeyOrAClickHandsOverOnce)
{
    for (const int way : {0, 1, 2}) {
        SCOPED_TRACE(way);
        SplashRig rig(WindowsVersion{2, 6, 1});
        rig.load();
        if (way == 0) {
            rig.Timer1.onTick();
            rig.Timer1.onTick();
            EXPECT_FALSE(rig.form.isLoaded());
            rig.Timer1.onTick();
        } else if (way == 1) {
            rig.window.onKeyPress(32);
        } else {
            rig.Frame1.onClick();
        }
        EXPECT_EQ(rig.splash.state(), frmSplash::State::HandedOver);
        EXPECT_TRUE(rig.mainControls.window.isVisible());
        EXPECT_FALSE(rig.window.isVisible());
        EXPECT_FALSE(rig.Timer1.isEnabled());
        rig.mainControls.window.close();
        // A late tick of the stopped timer does not load or show the window a second time.
        for (int tick = 0; tick < 3; ++tick) {
            rig.splash.Timer1_Timer();
        }
        EXPECT_FALSE(rig.mainControls.window.isVisible());
    }
}

} // namespace
} // namespace tollen::ui
