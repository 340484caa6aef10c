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

    const RunFolder second = runFolder();
    ASSERT_TRUE(second);
    EXPECT_FALSE(fs::exists(first.path));
    removeRunFolder();
    EXPECT_TRUE(fs::is_empty(base.path()));
}

TEST(RunFolder, ANewRunRemovesTheFoldersOfRunsThatAreOverAndNoOther)
{
    const testing::TemporaryFolder base;
    const testing::EnvironmentOverride temp("TEMP", utf8FromPath(base.path()));
    removeRunFolder();
    enum class Mark { Held, Released, None };
    struct Earlier
    {
        std::string name;
        Mark mark;
        bool stays;
    };
    const Earlier earlier[] = {
        {"tollen-00000000000a", Mark::Held, true},      // a run still at work
        {"tollen-00000000000b", Mark::Released, false}, // a run that is over, or was killed
        {"tollen-00000000000c", Mark::None, false},     // left without its mark
        {"tollen-old-run-here", Mark::None, true},      // no run folder's name
    };
    std::vector<std::FILE *> heldMarks;
    for (const Earlier &folder : earlier) {
        const fs::path path = base.path() / folder.name;
        fs::create_directory(path);
        std::ofstream(path / "index.txt") << "x";
        if (folder.mark != Mark::None) {
            std::FILE *mark = openNewFile(path / "run.lock", {}, fs::perms(0600));
            ASSERT_NE(mark, nullptr);
            if (folder.mark == Mark::Held) {
                heldMarks.push_back(mark);
            } else {
                std::fclose(mark);
            }
        }
    }
    ASSERT_TRUE(runFolder());
    for (const Earlier &folder : earlier) {
        EXPECT_EQ(fs::exists(base.path() / folder.name / "index.txt"), folder.stays) << folder.name;
    }
    removeRunFolder();
    for (std::FILE *mark : heldMarks) {
        std::fclose(mark);
    }
}

TEST(RunFolder, ReportsATemporaryDirectoryThatCannotHoldIt)
{
    removeRunFolder();
    const testing::EnvironmentOverride temp("TEMP", "/nonexistent-tollen-temporary-directory");
    const RunFolder folder = runFolder();
    EXPECT_FALSE(folder);
    EXPECT_TRUE(folder.path.empty());
    EXPECT_NE(folder.error.message.find("/nonexistent-tollen-temporary-directory"),
              std::string::npos);
}

} // namespace
} // namespace tollen
