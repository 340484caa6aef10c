#include "TestServers.h"
#include "transfer/cFTP.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

namespace fs = std::filesystem;
using testing::fileNames;
using testing::patternBytes;
using testing::readFile;
using testing::writeFile;

/// A scripted server whose listing shows `listing` and whose RETR sends `sent` bytes, then
/// ends normally ("226") or drops both connections ("cut").
class ScriptedFtp
{
public:
    ScriptedFtp(const std::string &listing, int sent, const std::string &end)
    {
        writeFile(m_folder.path() / "listing", listing);
        m_server = std::make_unique<testing::FaultServer>(std::vector<std::string>{
            "ftp", testing::serverPath(m_folder.path() / "listing"), std::to_string(sent), end});
        q.SetModePassive();
        q.SetTransferBinary();
    }

    fs::path local(const std::string &name) const { return m_folder.path() / name; }
    bool connect() { return q.OpenConnection(m_server->host(), "user", "pass"); }
    bool download(const fs::path &to)
    {
        std::string destination = to.string();
        std::string remote = "file.bin";
        return q.FTPDownloadFile(destination, remote);
    }

    /// A data connection that falls silent is given up after a second.
    cFTP q{TransferOptions{.connectTimeout = std::chrono::seconds(2),
                           .silenceTimeout = std::chrono::seconds(1),
                           .trustedCertificates = {}}};

private:
    testing::TemporaryFolder m_folder;
    std::unique_ptr<testing::FaultServer> m_server;
};

const std::string kUnixListing = "-rw-r--r-- 1 a b 1000 Jan  1  2020 file.bin\r\n";

TEST(FtpFaults, TransferOfAnotherSizeThanListedFailsAndKeepsWhatWasThere)
{
    struct Row
    {
        int sent;
        const char *end;
        bool oldFile;
        const char *operation; // that failed, at the start of the message
    };
    for (const Row &row :
         {Row{600, "226", true, "InternetReadFile"}, Row{600, "cut", true, "InternetReadFile"},
          Row{300, "cut", false, "InternetReadFile"},
          Row{1500, "226", false, "InternetCloseHandle"},
          Row{600, "stall", true, "InternetReadFile error code: 12002"}}) {
        SCOPED_TRACE(std::to_string(row.sent) + " " + row.end);
        if (std::string(row.end) == "stall" && testing::runningUnderWine()) {
            continue; // Wine's internet library waits on a silent data connection without end
        }
        ScriptedFtp server(kUnixListing, row.sent, row.end);
        if (row.oldFile) {
            writeFile(server.local("file.bin"), "the old file");
        }
        ASSERT_TRUE(server.connect());
        EXPECT_FALSE(server.download(server.local("file.bin")));
        EXPECT_EQ(server.q.GetLastErrorMessage().rfind(row.operation, 0), 0u)
            << server.q.GetLastErrorMessage();
        const std::vector<std::string> left = row.oldFile
                                                  ? std::vector<std::string>{"file.bin", "listing"}
                                                  : std::vector<std::string>{"listing"};
        EXPECT_EQ(fileNames(server.local("")), left);
        if (row.oldFile) {
            EXPECT_EQ(readFile(server.local("file.bin")), "the old file");
        }
    }
}

TEST(FtpFaults, EndlessListingEndsWithAClearFailureAtItsLimit)
{
    testing::FaultServer server({"ftp-endless-list"});
    cFTP q;
    q.SetModePassive();
    ASSERT_TRUE(q.OpenConnection(server.host(), "user", "pass"));
    EXPECT_EQ(q.GetDirectoryListing("*"), nullptr);
    EXPECT_EQ(q.GetLastErrorMessage(),
              "FtpFindFirstFile error code: 8 Message: The server sent a listing or header larger "
              "than the program accepts.");
    EXPECT_EQ(q.GetFTPFileSize("same.txt"), -2);
}

} // namespace
} // namespace tollen::transfer
