// What only Windows has: the system's own temporary folder and the program's file name.

#include "EnvironmentOverride.h"
#include "core/Environment.h"
#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <gtest/gtest.h>

namespace tollen {
namespace {

namespace fs = std::filesystem;

TEST(Environment, TemporaryDirectoryIsTempThenTheSystemsOwn)
{
    const testing::EnvironmentOverride upper("TEMP", std::nullopt);
    const testing::EnvironmentOverride lower("temp", "C:\\Tollen Temp\\für");
    EXPECT_EQ(utf8FromPath(temporaryDirectory()), "C:\\Tollen Temp\\für");
    lower.set(std::nullopt);
    const fs::path system = temporaryDirectory();
    EXPECT_TRUE(system.is_absolute()) << utf8FromPath(system);
    EXPECT_TRUE(fs::is_directory(system)) << utf8FromPath(system);
}

TEST(SystemFiles, TheProgramKnowsItsOwnFileAndTheUsersSettingsFolder)
{
    EXPECT_EQ(executablePath().extension(), ".exe");
    EXPECT_TRUE(fs::is_regular_file(executablePath()));
    const testing::EnvironmentOverride appData("APPDATA", "C:\\Users\\Jürgen\\AppData\\Roaming");
    EXPECT_EQ(utf8FromPath(userConfigurationFolder()),
              "C:\\Users\\Jürgen\\AppData\\Roaming\\Tollen");
    appData.set("relative\\folder");
    EXPECT_TRUE(userConfigurationFolder().empty());
}

TEST(PathText, LongPathsTakeTheLongFormAndShowWithoutIt)
{
    const std::string longPath = "C:\\" + std::string(300, 'x') + "\\..\\y.txt";
    const fs::path path = pathFromUtf8(longPath);
    EXPECT_EQ(path.native().substr(0, 4), L"\\\\?\\");
    EXPECT_EQ(utf8FromPath(path), "C:\\y.txt");
    const fs::path unc = pathFromUtf8("\\\\server\\share\\" + std::string(300, 'z'));
    EXPECT_EQ(unc.native().substr(0, 8), L"\\\\?\\UNC\\");
    EXPECT_EQ(utf8FromPath(unc), "\\\\server\\share\\" + std::string(300, 'z'));
    EXPECT_EQ(utf8FromPath(pathFromUtf8("short\\für")), "short\\für");
}

} // namespace
} // namespace tollen
