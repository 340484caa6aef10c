#include "core/AtomicFileWriter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace tollen {
namespace {

namespace fs = std::filesystem;

class AtomicFileWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("tollen-atomic-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static std::string read(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()));
    }

    fs::path m_folder;
};

TEST_F(AtomicFileWriterTest, CommitReplacesTheTargetWhole)
{
    const fs::path target = m_folder / "profile.hwp";
    std::ofstream(target) << "old";
    ASSERT_FALSE(writeFileAtomically(target, "new contents"));
    EXPECT_EQ(read(target), "new contents");
    EXPECT_EQ(entries(), 1U);
}

TEST_F(AtomicFileWriterTest, DiscardOrDestructionKeepsTheOldFileAndLeavesNothingBehind)
{
    const fs::path target = m_folder / "driver.zip";
    std::ofstream(target) << "old";
    {
        AtomicFileWriter writer(target);
        ASSERT_FALSE(writer.open());
        ASSERT_FALSE(writer.write("partial"));
    }
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(entries(), 1U);
}

TEST_F(AtomicFileWriterTest, AMissingFolderOrAFolderAtTheTargetIsAnError)
{
    const Error missing = writeFileAtomically(m_folder / "no" / "such" / "file", "x");
    EXPECT_TRUE(missing);
    EXPECT_NE(missing.message.find("no/such"), std::string::npos);

    fs::create_directory(m_folder / "taken");
    EXPECT_TRUE(writeFileAtomically(m_folder / "taken", "x"));
    EXPECT_TRUE(fs::is_directory(m_folder / "taken"));
    EXPECT_EQ(entries(), 1U);
}

TEST_F(AtomicFileWriterTest, WritesWithoutAnOpenFileAreRefused)
{
    AtomicFileWriter writer(m_folder / "x");
    EXPECT_TRUE(writer.write("x"));
    EXPECT_TRUE(writer.commit());
    EXPECT_FALSE(fs::exists(m_folder / "x"));
}

} // namespace
} // namespace tollen
