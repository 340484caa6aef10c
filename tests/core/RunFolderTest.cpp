#include "core/RunFolder.h"

#include "EnvironmentOverride.h"
#include "core/PathText.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tollen {
namespace {

namespace fs = std::filesystem;

TEST(RunFolder, StaysTheSameAndGoesOnlyWhenEmpty)
{
    const testing::TemporaryFolder base;
    const testing::EnvironmentOverride temp("TEMP", utf8FromPath(base.path()));

    removeRunFolderIfEmpty();
    const RunFolder first = runFolder();
    ASSERT_TRUE(first) << first.error.message;
    EXPECT_EQ(first.path.parent_path(), base.path());
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
