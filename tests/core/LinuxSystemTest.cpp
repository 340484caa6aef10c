// What only Linux has: file modes, owners and symbolic links for the atomic writer and the run's
// temporary folder, and TMPDIR.

#include "AtomicFileWriterFixture.h"
#include "EnvironmentOverride.h"
#include "core/AtomicFileWriter.h"
#include "core/Environment.h"
#include "core/RunFolder.h"
#include "core/SystemFiles.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tollen {
namespace {

struct stat fileStatus(const fs::path &path)
{
    struct stat status = {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

unsigned mode(const fs::path &path)
{
    return fileStatus(path).st_mode & 07777;
}

TEST_F(AtomicFileWriterTest, WritesThroughSymbolicLinksToTheFileTheyNameAndKeepsTheLinks)
{
    fs::create_directory(m_folder / "shared");
    const fs::path real = m_folder / "shared" / "real.hwp";
    testing::writeFile(real, "old");
    fs::create_symlink("shared/real.hwp", m_folder / "link.hwp");
    fs::create_symlink(m_folder / "link.hwp", m_folder / "link-to-link.hwp");
    // A link to a file not yet made makes that file.
    fs::create_symlink("shared/new.hwp", m_folder / "dangling.hwp");
    for (const auto &[link, file] : {std::pair{"link.hwp", real},
                                     {"link-to-link.hwp", real},
                                     {"dangling.hwp", m_folder / "shared" / "new.hwp"}}) {
        ASSERT_FALSE(writeFileAtomically(m_folder / link, link)) << link;
        EXPECT_TRUE(fs::is_symlink(m_folder / link));
        EXPECT_EQ(readFile(file), link);
    }
    EXPECT_TRUE(fs::is_symlink(m_folder / "link.hwp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder / "shared"), {}), 2);
    // Links that lead round in a circle are an error, not an endless walk.
    fs::create_symlink("loop-b", m_folder / "loop-a");
    fs::create_symlink("loop-a", m_folder / "loop-b");
    EXPECT_TRUE(writeFileAtomically(m_folder / "loop-a", "x"));
}

TEST_F(AtomicFileWriterTest, KeepsTheModeOfTheFileItReplacesAndGivesANewFileTheModeAsked)
{
    const mode_t previousMask = ::umask(027);
    const fs::path secret = m_folder / "secret.ini";
    const fs::path shared = m_folder / "shared.hwp";
    for (const auto &[path, kept] : {std::pair{secret, 0600U}, {shared, 0664U}}) {
        testing::writeFile(path, "old");
        fs::permissions(path, fs::perms(kept));
        ASSERT_FALSE(writeFileAtomically(path, "new"));
        EXPECT_EQ(mode(path), kept);
    }
    // A new file: the mode the caller asks for, less the process's mask; for new files only.
    ASSERT_FALSE(writeFileAtomically(m_folder / "new.hwp", "x"));
    ASSERT_FALSE(writeFileAtomically(m_folder / "new.ini", "x", fs::perms(0600)));
    ASSERT_FALSE(writeFileAtomically(shared, "again", fs::perms(0600)));
    ::umask(previousMask);
    EXPECT_EQ(mode(m_folder / "new.hwp"), 0640U);
    EXPECT_EQ(mode(m_folder / "new.ini"), 0600U);
    EXPECT_EQ(mode(shared), 0664U);
}

TEST_F(AtomicFileWriterTest, KeepsTheOwnerOfTheFileItReplacesWhenAllowedTo)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another owner";
    }
    const fs::path target = m_folder / "theirs.hwp";
    testing::writeFile(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    ASSERT_FALSE(writeFileAtomically(target, "new"));
    EXPECT_EQ(fileStatus(target).st_uid, 4321U);
    EXPECT_EQ(fileStatus(target).st_gid, 4322U);
}

TEST(RunFolder, IsReadableByTheUserAlone)
{
    const testing::TemporaryFolder base;
    const testing::EnvironmentOverride temp("TEMP", base.path().string());
    removeRunFolder();
    const RunFolder folder = runFolder();
    ASSERT_TRUE(folder) << folder.error.message;
    EXPECT_EQ(mode(folder.path), 0700U);
    removeRunFolder();
}

TEST(SystemFiles, AFileThatIsThereCanBeReadAndReplacedAndAMissingOneCannot)
{
    const testing::TemporaryFolder folder;
    const fs::path file = folder.path() / "a.txt";
    EXPECT_FALSE(canReadFile(file));
    EXPECT_FALSE(canReplaceFile(file));
    testing::writeFile(file, "x");
    EXPECT_TRUE(canReadFile(file));
    EXPECT_TRUE(canReplaceFile(file));
}

TEST(Environment, TemporaryDirectoryFallsBackToTmpdirThenTmp)
{
    const testing::EnvironmentOverride upper("TEMP", std::nullopt);
    const testing::EnvironmentOverride lower("temp", std::nullopt);
    const testing::EnvironmentOverride tmpdir("TMPDIR", "/var/tmp");
    EXPECT_EQ(temporaryDirectory(), "/var/tmp");
    lower.set("/srv/tmp");
    EXPECT_EQ(temporaryDirectory(), "/srv/tmp");
    lower.set(std::nullopt);
    tmpdir.set(std::nullopt);
    EXPECT_EQ(temporaryDirectory(), "/tmp");
}

} // namespace
} // namespace tollen
