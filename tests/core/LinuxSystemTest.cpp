// What only Linux has: file modes, owners and symbolic links for the atomic writer and the run's
// temporary folder, and TMPDIR.

#include "AtomicFileWriterFixture.h"
#include "EnvironmentOverride.h"
#include "core/AtomicFileWriter.h"
#include "core/Environment.h"
#include "core/RunFolder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tollen {
namespace {

/// Sets the process's file mode mask for one test and puts the old one back.
class UmaskOverride
{
public:
    explicit UmaskOverride(mode_t mask) : m_previous(::umask(mask)) {}
    ~UmaskOverride() { ::umask(m_previous); }
    UmaskOverride(const UmaskOverride &) = delete;
    UmaskOverride &operator=(const UmaskOverride &) = delete;

private:
    mode_t m_previous;
};

unsigned mode(const fs::path &path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0U;
}

TEST_F(AtomicFileWriterTest, WritesThroughSymbolicLinksToTheFileTheyNameAndKeepsTheLinks)
{
    fs::create_directory(m_folder / "shared");
    const fs::path real = m_folder / "shared" / "real.hwp";
    std::ofstream(real) << "old";
    fs::create_symlink("shared/real.hwp", m_folder / "link.hwp");
    fs::create_symlink(m_folder / "link.hwp", m_folder / "link-to-link.hwp");
    fs::create_symlink("shared/new.hwp", m_folder / "dangling.hwp");

    ASSERT_FALSE(writeFileAtomically(m_folder / "link.hwp", "through the link"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "link.hwp"));
    EXPECT_EQ(read(real), "through the link");

    ASSERT_FALSE(writeFileAtomically(m_folder / "link-to-link.hwp", "through two links"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "link-to-link.hwp"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "link.hwp"));
    EXPECT_EQ(read(real), "through two links");

    // A link to a file not yet made makes that file.
    ASSERT_FALSE(writeFileAtomically(m_folder / "dangling.hwp", "new"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "dangling.hwp"));
    EXPECT_EQ(read(m_folder / "shared" / "new.hwp"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder / "shared"), fs::directory_iterator()),
              2);

    // Links that lead round in a circle are an error, not an endless walk.
    fs::create_symlink("loop-b", m_folder / "loop-a");
    fs::create_symlink("loop-a", m_folder / "loop-b");
    EXPECT_TRUE(writeFileAtomically(m_folder / "loop-a", "x"));
}

TEST_F(AtomicFileWriterTest, KeepsTheModeOfTheFileItReplacesAndGivesANewFileTheModeAsked)
{
    const UmaskOverride mask(027);
    const fs::path secret = m_folder / "secret.ini";
    std::ofstream(secret) << "old";
    fs::permissions(secret, fs::perms(0600));
    ASSERT_FALSE(writeFileAtomically(secret, "new"));
    EXPECT_EQ(mode(secret), 0600U);

    const fs::path shared = m_folder / "shared.hwp";
    std::ofstream(shared) << "old";
    fs::permissions(shared, fs::perms(0664));
    ASSERT_FALSE(writeFileAtomically(shared, "new"));
    EXPECT_EQ(mode(shared), 0664U);

    // A new file: the mode the caller asks for, less the process's mask.
    ASSERT_FALSE(writeFileAtomically(m_folder / "new.hwp", "x"));
    EXPECT_EQ(mode(m_folder / "new.hwp"), 0640U);
    ASSERT_FALSE(writeFileAtomically(m_folder / "new.ini", "x", fs::perms(0600)));
    EXPECT_EQ(mode(m_folder / "new.ini"), 0600U);
    // The mode asked for is for new files only.
    ASSERT_FALSE(writeFileAtomically(shared, "again", fs::perms(0600)));
    EXPECT_EQ(mode(shared), 0664U);
}

TEST_F(AtomicFileWriterTest, KeepsTheOwnerOfTheFileItReplacesWhenAllowedTo)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another owner";
    }
    const fs::path target = m_folder / "theirs.hwp";
    std::ofstream(target) << "old";
    ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    ASSERT_FALSE(writeFileAtomically(target, "new"));
    struct stat status = {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321U);
    EXPECT_EQ(status.st_gid, 4322U);
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
