#include "TestServers.h"
#include "ui/DemoDatabase.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;

/// The window's transfers follow the protocol choice: with HTTP chosen and a file: host the
/// driver database is read from the local disk.
TEST(Form1Transfers, DownloadThroughTheHostBoxOfTheHttpChoice)
{
    const tollen::testing::TemporaryFolder temporary;
    const fs::path &folder = temporary.path();
    fs::create_directories(folder / "DIRSTRUCT");
    {
        std::ofstream index(folder / "DIRSTRUCT" / "index.txt", std::ios::binary);
        index << std::string(3000, 'x');
    }
    HeadlessForm1 controls;
    Form1 form(controls.controls(), Form1Startup{});
    controls.Option1.select(0);
    controls.host.setText(fileUrl(folder));

    EXPECT_EQ(form.GetFileSize("/DIRSTRUCT/index.txt"), 3000);
    std::string url = "DIRSTRUCT/index.txt";
    std::string destination = (folder / "copy.txt").string();
    EXPECT_EQ(form.DownloadFile(url, destination), 1);
    EXPECT_EQ(url, fileUrl(folder) + "/DIRSTRUCT/index.txt");
    EXPECT_EQ(fs::file_size(folder / "copy.txt"), 3000U);
    EXPECT_EQ(controls.Label9.caption(), "100%");
    EXPECT_TRUE(controls.window.isEnabled());
    EXPECT_GE(controls.window.disableCount(), 2);

    std::string missing = "DIRSTRUCT/none.txt";
    EXPECT_EQ(form.DownloadFile(missing, destination), 0);
    EXPECT_TRUE(controls.window.isEnabled());
}

} // namespace
} // namespace tollen::ui
