// tollen-index run as a user runs it: its options, its exit codes and what it says.

#include "ChildProcess.h"
#include "TestServers.h"

#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct ProgramRun
{
    std::optional<int> status;
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
        const fs::path out = m_folder.path() / "out.txt";
        const fs::path error = m_folder.path() / "error.txt";
        ProgramRun result;
        result.status = runToEnd({arguments, {}, m_folder.path(), out, error}, 60s);
        result.out = readFile(out);
        result.error = readFile(error);
        return result;
    }

    fs::path database() const { return m_folder.path() / "db"; }

    void SetUp() override
    {
        writeFile(database() / "drivers/a.inf",
                  "[Manufacturer]\r\nM=S\r\n[S]\r\nD=i,PCI\\VEN_1,ROOT\\A\\B\r\n");
        writeFile(database() / "drivers/empty.inf", "");
        writeFile(database() / "Acme \"Pro\"/a.inf", "");
    }

    TemporaryFolder m_folder;
};

TEST_F(TollenIndexProgram, AnswersHelpAndVersionAndRefusesWrongUse)
{
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: tollen-index"), std::string::npos);
    const ProgramRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("tollen-index ")) << version.out;

    for (const std::vector<std::string> &wrong : {std::vector<std::string>{},
                                                  {"--frobnicate", database()},
                                                  {database(), database()},
                                                  {(database() / "nowhere").string()}}) {
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
    for (const char *said : {"skipped /drivers/empty.inf: no [Manufacturer] section",
                             "refused ROOT\\A\\B in /drivers/a.inf",
                             "skipped /Acme \"Pro\"/a.inf: its path holds a \""}) {
        EXPECT_NE(verbose.out.find(said), std::string::npos) << said;
    }
    // Not a terminal: no progress line.
    EXPECT_TRUE(verbose.error.empty()) << verbose.error;

    const ProgramRun normal = run({database()});
    EXPECT_EQ(normal.status, 0);
    EXPECT_EQ(normal.out, "packages: 3 (3 unchanged since the last run)\n"
                          "INF files read: 1\n"
                          "skipped: 2\n"
                          "  1 its path holds a \", CR or LF, which an index line cannot carry\n"
                          "  1 no [Manufacturer] section\n"
                          "refused IDs: 1\n"
                          "IDs without a bus: 0\n"
                          "lines: 1\n"
                          "index files: 1 (tree unchanged)\n");

    const ProgramRun rebuilt = run({"--rebuild", database()});
    EXPECT_EQ(rebuilt.status, 0);
    EXPECT_EQ(rebuilt.out.find("unchanged"), std::string::npos) << rebuilt.out;

    const ProgramRun quiet = run({"--quiet", "--", database()});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_TRUE(quiet.out.empty());
    EXPECT_TRUE(quiet.error.empty());
}

} // namespace
} // namespace tollen::testing
