#include "TestServers.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace tollen::builder {
namespace {

namespace fs = std::filesystem;

struct ProgramRun
{
    int status = -1;
    std::string out;
    std::string error;
};

class TollenIndexProgram : public ::testing::Test
{
protected:
    /// Runs tollen-index with `arguments`, its output caught in files.
    ProgramRun run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), TOLLEN_INDEX_PROGRAM);
        const fs::path outFile = m_folder.path() / "out.txt";
        const fs::path errorFile = m_folder.path() / "error.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char *> argv;
        for (std::string &argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t pid = -1;
        ProgramRun result;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        result.out = testing::readFile(outFile);
        result.error = testing::readFile(errorFile);
        return result;
    }

    fs::path database() const { return m_folder.path() / "db"; }

    void SetUp() override
    {
        fs::create_directories(database() / "drivers");
        testing::writeFile(database() / "drivers/a.inf",
                           "[Manufacturer]\r\nM=S\r\n[S]\r\nD=i,PCI\\VEN_1,ROOT\\A\\B\r\n");
        testing::writeFile(database() / "drivers/empty.inf", "");
        fs::create_directories(database() / "Acme \"Pro\"");
        testing::writeFile(database() / "Acme \"Pro\"/a.inf", "");
    }

    testing::TemporaryFolder m_folder;
};

TEST_F(TollenIndexProgram, AnswersHelpAndVersionAndRefusesWrongUse)
{
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: tollen-index"), std::string::npos);
    const ProgramRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("tollen-index ")) << version.out;

    for (const std::vector<std::string> &wrong :
         {std::vector<std::string>{}, {"--frobnicate", database()}, {database(), database()}}) {
        const ProgramRun refused = run(wrong);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.error.find("tollen-index: "), std::string::npos);
        EXPECT_TRUE(refused.out.empty());
    }
    EXPECT_FALSE(fs::exists(database() / "DIRSTRUCT"));
}

TEST_F(TollenIndexProgram, BuildsTheTreeAndSummarisesOrListsOrSaysNothing)
{
    const ProgramRun verbose = run({"--verbose", database()});
    ASSERT_EQ(verbose.status, 0) << verbose.error;
    EXPECT_TRUE(fs::exists(database() / "DIRSTRUCT/pci/VEN_1/index.txt"));
    EXPECT_NE(verbose.out.find("skipped /drivers/empty.inf: no [Manufacturer] section"),
              std::string::npos)
        << verbose.out;
    EXPECT_NE(verbose.out.find("refused ROOT\\A\\B in /drivers/a.inf"), std::string::npos);
    EXPECT_NE(verbose.out.find("skipped /Acme \"Pro\"/a.inf: its path holds a \""),
              std::string::npos);
    EXPECT_NE(verbose.out.find("skipped: 2\n"), std::string::npos);
    EXPECT_NE(verbose.out.find("INF files read: 1\n"), std::string::npos);
    EXPECT_NE(verbose.out.find("index files: 1"), std::string::npos);
    // Not a terminal: no progress line.
    EXPECT_TRUE(verbose.error.empty()) << verbose.error;

    const ProgramRun normal = run({database()});
    EXPECT_EQ(normal.status, 0);
    EXPECT_EQ(normal.out.find("skipped /drivers"), std::string::npos);
    EXPECT_NE(normal.out.find("(tree unchanged)"), std::string::npos) << normal.out;

    const ProgramRun rebuilt = run({"--rebuild", database()});
    EXPECT_EQ(rebuilt.status, 0);
    EXPECT_EQ(rebuilt.out.find("unchanged"), std::string::npos) << rebuilt.out;

    const ProgramRun quiet = run({"--quiet", "--", database()});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_TRUE(quiet.out.empty());
    EXPECT_TRUE(quiet.error.empty());
}

TEST_F(TollenIndexProgram, FailsWhenTheRootCannotBeRead)
{
    const ProgramRun missing = run({(database() / "nowhere").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.error.find("nowhere"), std::string::npos);
}

} // namespace
} // namespace tollen::builder
