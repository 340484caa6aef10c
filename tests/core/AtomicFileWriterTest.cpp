#include "core/AtomicFileWriter.h"

#include "AtomicFileWriterFixture.h"
#include "core/FilePrefix.h"
#include "core/PathText.h"

namespace tollen {
namespace {

TEST_F(AtomicFileWriterTest, CommitReplacesTheTargetWhole)
{
    const fs::path target = m_folder / "profile.hwp";
    testing::writeFile(target, "old");
    testing::writeFile(m_folder / ".tollen-left-by-a-crash.tmp", "stale");
    ASSERT_FALSE(writeFileAtomically(target, "new contents"));
    EXPECT_EQ(readFile(target), "new contents");
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicFileWriterTest, DiscardOrDestructionKeepsTheOldFileAndLeavesNothingBehind)
{
    const fs::path target = m_folder / "driver.zip";
    testing::writeFile(target, "old");
    {
        AtomicFileWriter writer(target);
        ASSERT_FALSE(writer.open());
        ASSERT_FALSE(writer.open());
        ASSERT_FALSE(writer.write("partial"));
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entries(), 1);
    AtomicFileWriter unopened(m_folder / "x");
    EXPECT_TRUE(unopened.write("x"));
    EXPECT_TRUE(unopened.commit());
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicFileWriterTest, AMissingFolderOrAFolderAtTheTargetIsAnError)
{
    const Error missing = writeFileAtomically(m_folder / "no" / "such" / "file", "x");
    EXPECT_NE(missing.message.find((fs::path("no") / "such").string()), std::string::npos);
    fs::create_directory(m_folder / "taken");
    EXPECT_TRUE(writeFileAtomically(m_folder / "taken", "x"));
    EXPECT_TRUE(fs::is_directory(m_folder / "taken"));
}

TEST_F(AtomicFileWriterTest, TakesTheLongestNamesTheFileSystemAllows)
{
    for (const std::size_t length : {247U, 248U, 255U}) {
        const fs::path target = m_folder / std::string(length, 'n');
        ASSERT_FALSE(writeFileAtomically(target, "long")) << length;
        EXPECT_EQ(readFile(target), "long");
    }
    EXPECT_EQ(entries(), 3);
}

TEST_F(AtomicFileWriterTest, PathsWithAnyLettersAndPathsLongerThanTheOldLimitWork)
{
    // Longer together than the 260 characters Windows once allowed for a whole path.
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    std::string folder = utf8FromPath(m_folder) + separator + "Gerät ü 日本";
    for (int level = 0; level < 6; ++level) {
        folder += separator + std::string(50, static_cast<char>('a' + level));
    }
    fs::create_directories(pathFromUtf8(folder));
    const fs::path target = pathFromUtf8(folder + separator + "Profil für Müller.hwp");
    for (const char *contents : {"long way", "again"}) {
        ASSERT_FALSE(writeFileAtomically(target, contents)) << folder;
        EXPECT_EQ(readFilePrefix(target, 100), contents);
    }
    EXPECT_EQ(utf8FromPath(target), folder + separator + "Profil für Müller.hwp");
}

} // namespace
} // namespace tollen
