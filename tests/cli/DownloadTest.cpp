// tollen-cli download as a user runs it against packages with file lists: whole folder packages
// over each kind of server, a package changed after indexing, a hostile list, and a download cut
// at half (the scripted server) continued with --continue.

#include "ChildProcess.h"
#include "PackageFixture.h"
#include "TestServers.h"
#include "core/Sha256.h"
#include "database/PackageFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Json = nlohmann::json;

constexpr int kTransfer = 4;
/// A folder package with a sub-folder, and names with spaces and non-ASCII letters.
const std::string kInf = "/Intel/LAN Café/net.inf";
const std::vector<std::string> kPackageFiles = {"net.inf", "x64/e1d.sys", "Grüße dir/a b.cat"};

class CliDownload : public ::testing::Test
{
protected:
    CliDownload()
    {
        fs::create_directories(m_folder.path() / "bin");
        fs::copy_file(TOLLEN_CLI_PROGRAM, m_folder.path() / "bin/tollen-cli");
        fs::create_directories(work());
        for (std::size_t i = 0; i < kPackageFiles.size(); ++i) {
            writeFile(root() / "Intel/LAN Café" / kPackageFiles[i], patternBytes(1000 * i + 7));
        }
        writeFile(root() / "V/pkg.zip", patternBytes(200'000));
        writePackageList(root(), "/Intel/LAN Café/");
        writePackageList(root(), "/V/pkg.zip");
        // vsftpd reads as the "ftp" account: the tree must be readable by others.
        fs::permissions(m_folder.path(), fs::perms(0755));
        for (const auto &entry : fs::recursive_directory_iterator(root())) {
            fs::permissions(entry.path(), entry.is_directory() ? fs::perms(0755) : fs::perms(0644));
        }
        // The settings the window would use: none of the servers below.
        writeFile(m_folder.path() / "bin/sorrel.ini", "0\r\nfile:///nowhere\r\n\r\n/\r\n\r\n\r\n");
    }

    fs::path root() const { return m_folder.path() / "db"; }
    fs::path work() const { return m_folder.path() / "work"; }

    struct Result
    {
        std::optional<int> code;
        std::string out;
        std::string err;
    };
    Result cli(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), (m_folder.path() / "bin/tollen-cli").string());
        Result result;
        result.code = runToEnd({arguments,
                                {{"HOME", work().string()}, {"TMPDIR", work().string()}},
                                work(),
                                m_folder.path() / "out",
                                m_folder.path() / "err"},
                               120s);
        result.out = readFile(m_folder.path() / "out");
        result.err = readFile(m_folder.path() / "err");
        return result;
    }

    TemporaryFolder m_folder;
};

TEST_F(CliDownload, FolderPackageComesWholeAndVerifiedFromEachServer)
{
    const NginxServer nginx(root());
    const VsftpServer vsftpd(root());
    const std::vector<std::vector<std::string>> servers = {
        {"--http", "file://" + root().string()},
        {"--http", nginx.url()},
        {"--ftp", vsftpd.host(), "--user", "anonymous"}};
    for (std::size_t server = 0; server < servers.size(); ++server) {
        const fs::path folder = work() / ("to " + std::to_string(server));
        std::vector<std::string> arguments = {"download",      kInf,       "-o",
                                              folder.string(), "--format", "json"};
        arguments.insert(arguments.end(), servers[server].begin(), servers[server].end());
        const Result result = cli(arguments);
        ASSERT_EQ(result.code, 0) << servers[server][1] << result.err;
        const Json files = Json::parse(result.out)["files"];
        ASSERT_EQ(files.size(), kPackageFiles.size());
        for (std::size_t i = 0; i < kPackageFiles.size(); ++i) {
            EXPECT_EQ(readFile(folder / kPackageFiles[i]), patternBytes(1000 * i + 7));
            EXPECT_EQ(files[i]["Check"], "verified");
        }
    }
    // Without -o the package's folder is made in the current folder; a database without lists
    // gives the file unverified.
    fs::remove_all(root() / "DIRSTRUCT");
    const Result old = cli({"download", kInf, "--http", nginx.url(), "--format", "tsv"});
    EXPECT_EQ(old.code, 0) << old.err;
    EXPECT_NE(old.out.find("\tunverified\n"), std::string::npos) << old.out;
    EXPECT_EQ(readFile(work() / "LAN Café/net.inf"), patternBytes(7));
}

TEST_F(CliDownload, MismatchAndHostileListLeaveNothing)
{
    // The archive changed on the server after the database was built.
    const FileDigest listed{sha256Hex(patternBytes(200'000)), 200'000};
    writeFile(root() / "V/pkg.zip", patternBytes(199'999) + "!");
    const std::string file = "file://" + root().string();
    const Result changed = cli({"download", "/V/pkg.zip/a.inf", "--http", file, "--continue"});
    EXPECT_EQ(changed.code, kTransfer);
    EXPECT_NE(changed.err.find("expected " + listed.sha256), std::string::npos) << changed.err;
    EXPECT_NE(changed.err.find(sha256Hex(patternBytes(199'999) + "!")), std::string::npos);
    EXPECT_EQ(fileNames(work()), std::vector<std::string>{});

    // A list naming a file outside the package's folder is refused before anything is written.
    writeFile(root() / database::fileListPath("/Intel/LAN Café/").substr(1),
              "../../x\"1\"" + sha256Hex("x") + "\r\n");
    const Result hostile = cli({"download", kInf, "-o", "out/pkg", "--http", file});
    EXPECT_EQ(hostile.code, kTransfer);
    EXPECT_NE(hostile.err.find("refused"), std::string::npos) << hostile.err;
    EXPECT_FALSE(fs::exists(work() / "x"));
    EXPECT_FALSE(fs::exists(work() / "out/x"));
}

TEST_F(CliDownload, ContinueFetchesOnlyTheSecondHalfOfADownloadCutAtHalf)
{
    const fs::path log = m_folder.path() / "requests.log";
    const FaultServer server({"http-cut-once", "100000", log.string()});
    const std::string http = "http://" + server.host();
    const Result cut = cli({"download", "/V/pkg.zip", "--http", http, "--continue"});
    EXPECT_EQ(cut.code, kTransfer);
    EXPECT_FALSE(fs::exists(work() / "pkg.zip"));
    EXPECT_EQ(fs::file_size(work() / "pkg.zip.part"), 50'000U);

    const Result resumed = cli({"download", "/V/pkg.zip", "--http", http, "--continue"});
    EXPECT_EQ(resumed.code, 0) << resumed.err;
    EXPECT_EQ(readFile(work() / "pkg.zip"), patternBytes(100'000));
    EXPECT_EQ(fileNames(work()), std::vector<std::string>{"pkg.zip"});
    // The server has no file lists (an older database): each run asked for the list, then for
    // the file: the second time from byte 50,000 on.
    const std::string list = database::fileListPath("/V/pkg.zip");
    EXPECT_EQ(readFile(log),
              "/" + list + " 0\n//V/pkg.zip 0\n/" + list + " 0\n//V/pkg.zip 50000\n");
}

} // namespace
} // namespace tollen::testing
