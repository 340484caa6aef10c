#include "TestServers.h"
#include "transfer/cFTP.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

using testing::fileNames;
using testing::readFile;
using testing::writeFile;

// A scripted server lists file.bin with 1000 bytes and its RETR sends `sent` bytes, then ends
// normally ("226"), drops both connections ("cut") or falls silent ("stall").
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
        testing::TemporaryFolder folder;
        writeFile(folder.path() / "listing", "-rw-r--r-- 1 a b 1000 Jan  1  2020 file.bin\r\n");
        testing::FaultServer server({"ftp", testing::serverPath(folder.path() / "listing"),
                                     std::to_string(row.sent), row.end});
        // A data connection that falls silent is given up after a second.
        cFTP q(TransferOptions{.connectTimeout = std::chrono::seconds(2),
                               .silenceTimeout = std::chrono::seconds(1),
                               .trustedCertificates = {}});
        q.SetModePassive();
        q.SetTransferBinary();
        if (row.oldFile) {
            writeFile(folder.path() / "file.bin", "the old file");
        }
        ASSERT_TRUE(q.OpenConnection(server.host(), "user", "pass"));
        std::string destination = (folder.path() / "file.bin").string();
        std::string remote = "file.bin";
        EXPECT_FALSE(q.FTPDownloadFile(destination, remote));
        EXPECT_EQ(q.GetLastErrorMessage().rfind(row.operation, 0), 0u) << q.GetLastErrorMessage();
        const std::vector<std::string> left = row.oldFile
                                                  ? std::vector<std::string>{"file.bin", "listing"}
                                                  : std::vector<std::string>{"listing"};
        EXPECT_EQ(fileNames(folder.path()), left);
        if (row.oldFile) {
            EXPECT_EQ(readFile(folder.path() / "file.bin"), "the old file");
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
