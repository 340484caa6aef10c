#include "TestServers.h"
#include "transfer/cFTP.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

namespace fs = std::filesystem;
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

    cFTP q;

private:
    testing::TemporaryFolder m_folder;
    std::unique_ptr<testing::FaultServer> m_server;
};

const std::string kUnixListing = "-rw-r--r-- 1 a b 1000 Jan  1  2020 file.bin\r\n";

/// Nothing but the destination (and the listing) is left in the folder.
std::vector<std::string> filesIn(const fs::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FtpFaults, TransferEndingBeforeTheListedSizeFailsAndKeepsTheOldFile)
{
    for (const char *end : {"226", "cut"}) {
        ScriptedFtp server(kUnixListing, 600, end);
        writeFile(server.local("file.bin"), "the old file");
        ASSERT_TRUE(server.connect());
        EXPECT_FALSE(server.download(server.local("file.bin"))) << end;
        EXPECT_EQ(readFile(server.local("file.bin")), "the old file") << end;
        EXPECT_EQ(filesIn(server.local("")), (std::vector<std::string>{"file.bin", "listing"}));
        EXPECT_EQ(server.q.GetLastErrorMessage().substr(0, 16), "InternetReadFile") << end;
    }
}

TEST(FtpFaults, FailedDownloadLeavesNoPartialFile)
{
    ScriptedFtp server(kUnixListing, 300, "cut");
    ASSERT_TRUE(server.connect());
    EXPECT_FALSE(server.download(server.local("new.bin")));
    EXPECT_EQ(filesIn(server.local("")), (std::vector<std::string>{"listing"}));
}

TEST(FtpFaults, FileLongerThanListedIsNotTakenAsComplete)
{
    ScriptedFtp server(kUnixListing, 1500, "226");
    ASSERT_TRUE(server.connect());
    EXPECT_FALSE(server.download(server.local("new.bin")));
    EXPECT_FALSE(fs::exists(server.local("new.bin")));
}

TEST(FtpFaults, DosListingsOfIisServersAreRead)
{
    ScriptedFtp server("03-05-24  02:30PM       <DIR>          Old Drivers\r\n"
                       "03-05-2024  14:30                 1000 file.bin\r\n",
                       1000, "226");
    ASSERT_TRUE(server.connect());
    const auto list = server.q.GetDirectoryListing("*");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_TRUE(list->Item(std::string("old drivers"))->Directory);
    EXPECT_EQ(list->Item(std::string("FILE.BIN"))->FileSize, 1000);
    EXPECT_EQ(server.q.GetFTPFileSize("Old Drivers"), 0);
    ASSERT_TRUE(server.download(server.local("file.bin"))) << server.q.GetLastErrorMessage();
    EXPECT_EQ(readFile(server.local("file.bin")), patternBytes(1000));
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
