#include "core/RunFolder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace tollen {
namespace {

namespace fs = std::filesystem;

/// Sets TEMP for one test and puts back what was there.
class TemporaryDirectoryOverride
{
public:
    explicit TemporaryDirectoryOverride(const fs::path &folder)
    {
        if (const char *value = std::getenv("TEMP")) {
            m_previous = value;
        }
        ::setenv("TEMP", folder.c_str(), 1);
    }
    ~TemporaryDirectoryOverride()
    {
        if (m_previous) {
            ::setenv("TEMP", m_previous->c_str(), 1);
        } else {
            ::unsetenv("TEMP");
        }
    }
    TemporaryDirectoryOverride(const TemporaryDirectoryOverride &) = delete;
    TemporaryDirectoryOverride &operator=(const TemporaryDirectoryOverride &) = delete;

private:
    std::optional<std::string> m_previous;
};

TEST(RunFolder, IsPrivateStaysTheSameAndGoesOnlyWhenEmpty)
{
    std::string base = (fs::temp_directory_path() / "tollen-run-folder-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const TemporaryDirectoryOverride temp(base);

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
    const TemporaryDirectoryOverride temp("/nonexistent-tollen-temporary-directory");
    const RunFolder folder = runFolder();
    EXPECT_FALSE(folder);
    EXPECT_TRUE(folder.path.empty());
    EXPECT_NE(folder.error.message.find("/nonexistent-tollen-temporary-directory"),
              std::string::npos);
}

} // namespace
} // namespace tollen
