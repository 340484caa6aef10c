// The Debian package as a user installs it: `cpack -G DEB` makes it from the build, lintian finds
// no error in it, its desktop entry and AppStream metadata validate, and, installed with dpkg
// into a scratch root, its tollen-cli runs and searches the installed demo database.

#include "ChildProcess.h"
#include "TestServers.h"

#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class DebianPackage : public ::testing::Test
{
protected:
    /// Runs `arguments` to their end in the test's folder; its exit code, and its output in
    /// `output` (standard error in the failure message).
    int run(const std::vector<std::string> &arguments, std::string *output = nullptr)
    {
        const fs::path out = m_folder.path() / "out.txt";
        const fs::path err = m_folder.path() / "err.txt";
        const auto code = runToEnd(
            {arguments, {{"HOME", m_folder.path().string()}}, m_folder.path(), out, err}, 600s);
        if (output != nullptr) {
            *output = readFile(out);
        }
        m_lastError = readFile(out) + readFile(err);
        return code.value_or(-1);
    }

    TemporaryFolder m_folder;
    std::string m_lastError;
};

TEST_F(DebianPackage, PassesLintianAndInstallsIntoAScratchRootWhereItsProgramsRun)
{
    const fs::path packages = m_folder.path() / "packages";
    ASSERT_EQ(run({TOLLEN_CPACK_COMMAND, "--config",
                   (fs::path(TOLLEN_BINARY_DIR) / "CPackConfig.cmake").string(), "-G", "DEB", "-B",
                   packages.string()}),
              0)
        << m_lastError;
    std::string architecture;
    ASSERT_EQ(run({"/usr/bin/dpkg", "--print-architecture"}, &architecture), 0);
    const fs::path deb = packages / ("tollen_" + std::string(TOLLEN_VERSION) + "_" +
                                     architecture.substr(0, architecture.find('\n')) + ".deb");
    ASSERT_TRUE(fs::is_regular_file(deb)) << deb;

    std::string contents;
    ASSERT_EQ(run({"/usr/bin/dpkg-deb", "--contents", deb.string()}, &contents), 0);
    for (const char *file : {"./usr/bin/tollen", "./usr/bin/tollen-cli", "./usr/bin/tollen-index",
                             "./usr/share/man/man1/tollen-index.1.gz",
                             "./usr/share/bash-completion/completions/tollen",
                             "./usr/share/metainfo/org.tollen.Tollen.metainfo.xml",
                             "./usr/share/tollen/demo-db/DIRSTRUCT/pci/VEN_8086/index.txt"}) {
        EXPECT_NE(contents.find(file), std::string::npos) << file;
    }
    EXPECT_EQ(run({"/usr/bin/lintian", "--fail-on", "error", deb.string()}), 0) << m_lastError;

    const fs::path root = m_folder.path() / "root";
    for (const char *folder : {"info", "updates", "triggers"}) {
        fs::create_directories(root / "var/lib/dpkg" / folder);
    }
    writeFile(root / "var/lib/dpkg/status", "");
    // The scratch root's package list is empty: the libraries the package depends on are this
    // machine's own.
    ASSERT_EQ(run({"/usr/bin/dpkg", "--root=" + root.string(), "--force-depends",
                   "--force-not-root", "--no-triggers", "-i", deb.string()}),
              0)
        << m_lastError;
    EXPECT_EQ(run({"/usr/bin/desktop-file-validate",
                   (root / "usr/share/applications/tollen.desktop").string()}),
              0)
        << m_lastError;
    EXPECT_EQ(run({"/usr/bin/appstreamcli", "validate", "--no-net",
                   (root / "usr/share/metainfo/org.tollen.Tollen.metainfo.xml").string()}),
              0)
        << m_lastError;

    std::string version;
    EXPECT_EQ(run({(root / "usr/bin/tollen-cli").string(), "--version"}, &version), 0);
    EXPECT_EQ(version.rfind("tollen-cli " + std::string(TOLLEN_VERSION), 0), 0U) << version;
    std::string found;
    EXPECT_EQ(
        run({(root / "usr/bin/tollen-cli").string(), "search", "PCI\\VEN_8086&DEV_100E", "--format",
             "tsv", "--http", "file://" + (root / "usr/share/tollen/demo-db").string()},
            &found),
        0)
        << m_lastError;
    EXPECT_NE(found.find("/network/pro1000.zip"), std::string::npos) << found;
}

} // namespace
} // namespace tollen::testing
