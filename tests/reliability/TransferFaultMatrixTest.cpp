// The transfer fault matrix: the ways a server or the destination can fail an HTTP or FTP
// transfer, each through the main window's size query and download. Every case must give its
// result, leave the window enabled, and leave the file that was at the destination whole with
// nothing beside it: a failed download is never reported as done, nor leaves part of a file.
// docs/reliability.md lists the cases with the tests that cover them.

#include "ReliabilityFixture.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

const std::string kOldFile = "the file that was there";
constexpr std::size_t kServedSize = 3000;
const std::string kNoConnection = "FTP ERROR: Can't establish connection";
/// The boxes of a size query and a download that could not connect.
const std::vector<std::string> kTwoBoxes = {kNoConnection, kNoConnection};
/// The box of an HTTP size query that got no answer.
const std::vector<std::string> kNoAnswer = {
    "HTTP ERROR: The connection ended before the transfer was complete."};

/// A server started for one case and the host box text that reaches it.
struct Remote
{
    std::string host;
    std::shared_ptr<void> server;
};

using RemoteMaker = std::function<Remote(const fs::path &root)>;

/// The files every server serves from `root`: a file of kServedSize bytes and an empty one.
void fillRoot(const fs::path &root)
{
    writeFile(root / "file.bin", patternBytes(kServedSize));
    writeFile(root / "empty.bin", "");
}

RemoteMaker nginx(const std::string &serverConfig = {})
{
    return [serverConfig](const fs::path &root) {
        auto server = std::make_shared<NginxServer>(root, std::nullopt, serverConfig);
        return Remote{server->url(), server};
    };
}

RemoteMaker pyftpd(const std::string &password = "secret")
{
    return [password](const fs::path &root) {
        auto server = std::make_shared<PyFtpServer>(root, "user", password);
        return Remote{server->host(), server};
    };
}

RemoteMaker scripted(std::vector<std::string> arguments, bool http)
{
    return [arguments, http](const fs::path &) {
        auto server = std::make_shared<FaultServer>(arguments);
        return Remote{(http ? "http://" : "") + server->host(), server};
    };
}

struct FaultCase
{
    const char *name;
    bool ftp;
    RemoteMaker remote;
    const char *file;
    std::int32_t size;
    std::int16_t download;
    /// The bytes a successful download leaves; empty for a failure.
    std::string downloaded = {};
    /// The message boxes the size query and the download show, in order.
    std::vector<std::string> boxes = {};
};

void PrintTo(const FaultCase &row, std::ostream *out)
{
    *out << row.name;
}

class TransferFaultMatrix : public ::testing::TestWithParam<FaultCase>
{
protected:
    TemporaryFolder m_remote;
    TemporaryFolder m_local;
};

TEST_P(TransferFaultMatrix, GivesItsResultAndKeepsTheFileThatWasThere)
{
    const FaultCase &row = GetParam();
    fillRoot(m_remote.path());
    const Remote remote = row.remote(m_remote.path());
    HeadlessTransfers window;
    window.choose(row.ftp, remote.host);
    const fs::path destination = m_local.path() / "driver.zip";
    writeFile(destination, kOldFile);

    EXPECT_EQ(window.routines.GetFileSize(std::string("/") + row.file), row.size);
    EXPECT_TRUE(window.form.window.isEnabled());
    EXPECT_EQ(window.download(std::string("/") + row.file, destination), row.download);
    EXPECT_TRUE(window.form.window.isEnabled());
    EXPECT_EQ(readFile(destination), row.download == 1 ? row.downloaded : kOldFile);
    EXPECT_EQ(fileNames(m_local.path()), std::vector<std::string>{"driver.zip"});

    std::vector<std::string> boxes;
    for (const auto &question : window.form.dialogs.questions()) {
        boxes.push_back(question.text);
    }
    EXPECT_EQ(boxes, row.boxes);
}

const std::string kServed = patternBytes(kServedSize);
const std::string kServerConfig = "location = /e416.bin { return 416; }\n"
                                  "location = /e500.bin { return 500; }\n"
                                  "location = /e503.bin { return 503; }\n";

// The cases other tests already cover are listed in docs/reliability.md, not repeated here; a
// served file on each protocol shows that a case fails for its own reason.
INSTANTIATE_TEST_SUITE_P(
    Http, TransferFaultMatrix,
    ::testing::Values(
        FaultCase{"Served", false, nginx(), "file.bin", 3000, 1, kServed},
        FaultCase{"ClosedBeforeTheReply", false, scripted({"http-close"}, true), "file.bin", -1, 0,
                  "", kNoAnswer},
        FaultCase{"ClosedDuringTheHeader", false, scripted({"http-cut-header"}, true), "file.bin",
                  -1, 0, "", kNoAnswer},
        FaultCase{"RangeNotSatisfiable416", false, nginx(kServerConfig), "e416.bin", -1, 0},
        FaultCase{"EmptyFile", false, nginx(), "empty.bin", 0, 1},
        FaultCase{"ServerError500", false, nginx(kServerConfig), "e500.bin", -1, 0},
        FaultCase{"Unavailable503", false, nginx(kServerConfig), "e503.bin", -1, 0},
        FaultCase{"LengthShorterThanTheBody", false, scripted({"http-short", "5000", "3000"}, true),
                  "file.bin", 3000, 1, kServed},
        FaultCase{"LengthLongerThanTheBody", false, scripted({"http-stall", "1000", "3000"}, true),
                  "file.bin", 3000, 0},
        FaultCase{"PartialContentCompletedPartByPart", false,
                  scripted({"http-parts", "3000", "1000", "resume"}, true), "file.bin", 3000, 1,
                  kServed},
        FaultCase{"PartialContentOfTheFirstPartOnly", false,
                  scripted({"http-parts", "3000", "1000", "first"}, true), "file.bin", 3000, 0},
        FaultCase{"PartialContentWithoutAVersion", false,
                  scripted({"http-parts", "3000", "1000", "unversioned"}, true), "file.bin", 3000,
                  0}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Ftp, TransferFaultMatrix,
    ::testing::Values(
        FaultCase{"Served", true, pyftpd(), "file.bin", 3000, 1, kServed},
        FaultCase{"ClosedBeforeTheGreeting", true, scripted({"ftp-close"}, false), "file.bin", -1,
                  -1, "", kTwoBoxes},
        FaultCase{"ClosedDuringTheGreeting", true, scripted({"ftp-cut-greeting"}, false),
                  "file.bin", -1, -1, "", kTwoBoxes},
        FaultCase{"SilentServer", true, scripted({"ftp-silent"}, false), "file.bin", -1, -1, "",
                  kTwoBoxes},
        FaultCase{"LoginRefused", true, pyftpd("other"), "file.bin", -1, -1, "", kTwoBoxes},
        FaultCase{"SizeLookupRefused", true, scripted({"ftp-nolist", "3000"}, false), "file.bin",
                  -2, 0},
        FaultCase{"PassiveConnectionRefused", true, scripted({"ftp-passive-refused"}, false),
                  "file.bin", -2, 0}),
    [](const auto &info) { return std::string(info.param.name); });

/// Serves the file of fillRoot over each protocol in turn.
class UnwritableDestination : public ::testing::TestWithParam<bool>
{
protected:
    UnwritableDestination()
    {
        fillRoot(m_remote.path());
        m_server = (GetParam() ? pyftpd() : nginx())(m_remote.path());
        window.choose(GetParam(), m_server.host);
    }

    TemporaryFolder m_remote;
    TemporaryFolder m_local;
    Remote m_server;
    HeadlessTransfers window;
};

TEST_P(UnwritableDestination, ReadOnlyFolderFailsTheDownloadAndKeepsTheOldFile)
{
    const fs::path folder = m_local.path() / "read-only";
    fs::create_directory(folder);
    writeFile(folder / "driver.zip", kOldFile);
    fs::permissions(folder, fs::perms(0555));
    // The superuser writes into any folder: there a folder that is a file stands for it.
    const bool writable = ::access(folder.c_str(), W_OK) == 0;
    const fs::path destination = writable ? folder / "driver.zip" / "x" : folder / "driver.zip";
    EXPECT_EQ(window.download("/file.bin", destination), 0);
    fs::permissions(folder, fs::perms(0755));
    EXPECT_TRUE(window.form.window.isEnabled());
    EXPECT_EQ(readFile(folder / "driver.zip"), kOldFile);
    EXPECT_EQ(fileNames(folder), std::vector<std::string>{"driver.zip"});
}

TEST_P(UnwritableDestination, FileSizeLimitReachedDuringTheWriteKeepsTheOldFile)
{
    const fs::path destination = m_local.path() / "driver.zip";
    writeFile(destination, kOldFile);
    // The limit holds for the whole process, so the download runs in a child of its own.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        const std::int16_t result = window.download("/file.bin", destination);
        ::_exit(result == 0 && window.form.window.isEnabled() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readFile(destination), kOldFile);
    EXPECT_EQ(fileNames(m_local.path()), std::vector<std::string>{"driver.zip"});
}

INSTANTIATE_TEST_SUITE_P(Protocols, UnwritableDestination, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Ftp" : "Http"; });

} // namespace
} // namespace tollen::testing
