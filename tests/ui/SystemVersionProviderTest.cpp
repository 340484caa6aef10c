// The version of the system the tests run on, as the splash learns it: the NT family on Linux
// (whose device tree is given in the NT layout) and on Windows, which reports its real version
// there (Wine reports the version its prefix is set to, Windows 7 or later).

#include "ui/SystemVersionProvider.h"

#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"
#include "ui/HeadlessSplash.h"
#include "ui/frmSplash.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

TEST(SystemVersionProvider, IsTheNtFamilyAndTheSplashOpensTheMainWindowOnIt)
{
    const SystemVersionProvider versions;
    const auto version = versions.query();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->platformId, 2u);
    // 0.0 on Linux; on Windows the real version, 6.0 (Vista) or later for every system served.
    EXPECT_TRUE(version->major == 0 || version->major >= 6) << version->major;

    HeadlessForm1 mainControls;
    Form1 form(mainControls.controls(), Form1Startup{});
    HeadlessSplash splashControls;
    frmSplash splash(splashControls.controls(), versions, form);
    splash.Form_Load();
    splash.Frame1_Click();
    EXPECT_TRUE(splash.mainWindowShown());
    EXPECT_TRUE(form.IsNT);
    EXPECT_EQ(form.EnumRoot, "SYSTEM\\CurrentControlSet\\Enum\\");
}

} // namespace
} // namespace tollen::ui
