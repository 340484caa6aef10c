#include "core/RunFolder.h"

#include "EnvironmentOverride.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace tollen {
namespace {

namespace fs = std::filesystem;

TEST(RunFolder, IsPrivateStaysTheSameAndGoesOnlyWhenEmpty)
{
    std::string base = (fs::temp_directory_path() / "tollen-run-folder-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const testing::EnvironmentOverride temp("TEMP", base);

    const RunFolder first = runFolder();
    ASSERT_TRUE(first) << first.error.message;
    EXPECT_EQ(first.path.parent_path(), fs::path(base));
    struct stat status = {};
    ASSERT_EQ(::stat(first.path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700U);
    EXPECT_EQ(runFolder().path, first.path);

    std::ofstream(first.path / "kept.zip") << "x";
    removeRunFolderIfEmpty();
    EXPECT_TRUE(fs::exists(first.path));
    fs::remove(first.path / "kept.zip");
    removeRunFolderIfEmpty();
    EXPECT_FALSE(fs::exists(first.path));

    // After removal the next call makes a new folder.
    const RunFolder second = runFolder();
    ASSERT_TRUE(second);
    EXPECT_TRUE(fs::is_directory(second.path));
    removeRunFolderIfEmpty();
    fs::remove_all(base);
}

TEST(RunFolder, ReportsATemporaryDirectoryThatCannotHoldIt)
{
    removeRunFolderIfEmpty();
    const testing::EnvironmentOverride temp("TEMP", "/nonexistent-tollen-temporary-directory");
    const RunFolder folder = runFolder();
    EXPECT_FALSE(folder);
    EXPECT_TRUE(folder.path.empty());
    EXPECT_NE(folder.error.message.find("/nonexistent-tollen-temporary-directory"),
              std::string::npos);
}

} // namespace
} // namespace tollen
