#include "core/RunFolder.h"

#include "EnvironmentOverride.h"
#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tollen {
namespace {

namespace fs = std::filesystem;

TEST(RunFolder, GoesWithTheRunButForTheFilesHandedOverWhichTheNextRunRemoves)
{
    const testing::TemporaryFolder base;
    const testing::EnvironmentOverride temp("TEMP", utf8FromPath(base.path()));
    removeRunFolder();
    const RunFolder first = runFolder();
    ASSERT_TRUE(first) << first.error.message;
    EXPECT_EQ(first.path.parent_path(), base.path());
    EXPECT_EQ(runFolder().path, first.path);
    std::ofstream(first.path / "index.txt") << "x";
    std::ofstream(first.path / "opened.zip") << "x";
    keepAfterRun(first.path / "opened.zip");
    removeRunFolder();
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(first.path), {}),
              std::vector<fs::path>{first.path / "opened.zip"});
    ASSERT_TRUE(runFolder());
    EXPECT_FALSE(fs::exists(first.path));
    removeRunFolder();
    EXPECT_TRUE(fs::is_empty(base.path()));
}

TEST(RunFolder, ANewRunRemovesTheFoldersOfRunsThatAreOverAndNoOther)
{
    const testing::TemporaryFolder base;
    const testing::EnvironmentOverride temp("TEMP", utf8FromPath(base.path()));
    removeRunFolder();
    struct Earlier
    {
        const char *name;
        int mark; // 0: none, 1: released (the run is over or was killed), 2: held (still at work)
        bool stays;
    };
    const Earlier earlier[] = {{"tollen-00000000000a", 2, true},
                               {"tollen-00000000000b", 1, false},
                               {"tollen-00000000000c", 0, false},
                               {"tollen-old-run-here", 0, true}};
    std::vector<std::FILE *> marks;
    for (const Earlier &folder : earlier) {
        const fs::path path = base.path() / folder.name;
        fs::create_directory(path);
        std::ofstream(path / "index.txt") << "x";
        if (folder.mark > 0) {
            marks.push_back(openNewFile(path / "run.lock", {}, fs::perms(0600)));
            ASSERT_NE(marks.back(), nullptr);
        }
        if (folder.mark == 1) {
            std::fclose(marks.back());
            marks.pop_back();
        }
    }
    ASSERT_TRUE(runFolder());
    for (const Earlier &folder : earlier) {
        EXPECT_EQ(fs::exists(base.path() / folder.name / "index.txt"), folder.stays) << folder.name;
    }
    removeRunFolder();
    for (std::FILE *mark : marks) {
        std::fclose(mark);
    }
}

TEST(RunFolder, ReportsATemporaryDirectoryThatCannotHoldIt)
{
    removeRunFolder();
    const testing::EnvironmentOverride temp("TEMP", "/nonexistent-tollen-temporary-directory");
    const RunFolder folder = runFolder();
    EXPECT_TRUE(folder.path.empty());
    EXPECT_NE(folder.error.message.find("/nonexistent-tollen-temporary-directory"),
              std::string::npos);
}

} // namespace
} // namespace tollen
