// The demo database as the build leaves it, answering a query through the main window.

#include "ui/DemoDatabase.h"

#include "DatabaseFixture.h"
#include "ui/Form1.h"

#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kDemoDatabase = TOLLEN_DEMO_DATABASE;

TEST(DemoDatabase, AnswersTheVirtioNetworkDeviceWithItsSubsystems)
{
    // The Windows build takes the demo database from a Linux build tree, which may not be there.
    if (!fs::is_directory(kDemoDatabase / "DIRSTRUCT")) {
        GTEST_SKIP() << "no demo database at " << kDemoDatabase.string();
    }
    ui::HeadlessForm1 controls;
    ui::Form1 form(controls.controls(), ui::Form1Startup{});
    controls.Option1.select(0);
    controls.host.setText(ui::fileUrl(kDemoDatabase));
    form.QueryDatabase(R"(PCI\VEN_1AF4&DEV_1041)", 0);
    EXPECT_EQ(controls.ListView2.rowCount(), 5);
    EXPECT_EQ(controls.List2.items(),
              (std::vector<std::string>{"SUBSYS_10411AF4", "SUBSYS_11001AF4"}));
}

} // namespace
} // namespace tollen::testing
