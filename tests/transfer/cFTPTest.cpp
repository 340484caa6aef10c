#include "transfer/cFTP.h"

#include "TestServers.h"

#include <ctime>
#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

namespace fs = std::filesystem;
using testing::patternBytes;
using testing::readFile;
using testing::writeFile;

using Events = std::vector<std::pair<std::int64_t, std::int64_t>>;

/// The events a chunked transfer of `size` bytes raises: one per 255 bytes and a last one.
Events expectedEvents(std::int64_t size)
{
    Events events;
    for (std::int64_t done = 255; done <= size; done += 255) {
        events.emplace_back(done, size);
    }
    events.emplace_back(size, size);
    return events;
}

class FtpSessionTest : public ::testing::Test
{
protected:
    FtpSessionTest()
    {
        writeFile(root() / "index.txt", "one line\r\n");
        writeFile(root() / "DIRSTRUCT/pci/index file.txt", patternBytes(1000));
        writeFile(root() / "DIRSTRUCT/pci/a.txt", "a");
        writeFile(root() / "Old Drivers/two  spaces .txt", "xy");
        m_server = std::make_unique<testing::PyFtpServer>(root(), "user", "secret");
        q.setFileTransferProgress([this](std::int64_t current, std::int64_t total) {
            events.emplace_back(current, total);
        });
    }

    fs::path root() const { return m_serverFolder.path(); }
    fs::path local(const std::string &name) const { return m_localFolder.path() / name; }
    bool connect() { return q.OpenConnection(m_server->host(), "user", "secret"); }
    const testing::PyFtpServer &server() const { return *m_server; }
    bool download(std::string from, const fs::path &to)
    {
        std::string destination = to.string();
        return q.FTPDownloadFile(destination, from);
    }

    cFTP q;
    Events events;

private:
    testing::TemporaryFolder m_serverFolder;
    testing::TemporaryFolder m_localFolder;
    std::unique_ptr<testing::PyFtpServer> m_server;
};

TEST_F(FtpSessionTest, DirectoriesAndSizesFollowTheServerOverOneLogin)
{
    ASSERT_TRUE(connect());
    EXPECT_EQ(q.GetFTPDirectory(), "/");
    EXPECT_TRUE(std::get<bool>(q.SetFTPDirectory("/DIRSTRUCT")));
    EXPECT_TRUE(std::get<bool>(q.SetFTPDirectory("pci")));
    EXPECT_EQ(q.GetFTPDirectory(), "/DIRSTRUCT/pci");
    // A size lookup takes spaces for single-character wildcards.
    EXPECT_EQ(q.GetFTPFileSize("index file.txt"), 1000);
    EXPECT_EQ(q.GetFTPFileSize("/index.txt"), 10);
    EXPECT_TRUE(download("a.txt", local("a.txt")));
    EXPECT_TRUE(std::get<bool>(q.SetFTPDirectory("..")));
    EXPECT_EQ(q.GetFTPDirectory(), "/DIRSTRUCT");

    EXPECT_FALSE(std::get<bool>(q.SetFTPDirectory("nowhere")));
    // The server's refusal is the whole error text, and the old directory stays.
    EXPECT_EQ(q.GetLastErrorMessage().substr(0, 4), "550 ");
    EXPECT_EQ(q.GetFTPDirectory(), "/DIRSTRUCT");
    EXPECT_EQ(q.GetFTPFileSize("pci/a.txt"), 1);
    // No match is no failure: the last error text stays.
    const std::string before = q.GetLastErrorMessage();
    EXPECT_EQ(q.GetFTPFileSize("missing.txt"), -1);
    EXPECT_EQ(q.GetLastErrorMessage(), before);
    EXPECT_EQ(q.GetFTPFileSize("no/such/dir/x.txt"), -2);
    EXPECT_EQ(q.GetLastErrorMessage().substr(0, 4), "550 ");

    // Names a listing reader that splits at blanks would cut.
    EXPECT_TRUE(std::get<bool>(q.SetFTPDirectory("/Old Drivers")));
    EXPECT_EQ(q.GetFTPFileSize("two  spaces .txt"), 2);
    EXPECT_TRUE(download("two  spaces .txt", local("copy")));
    q.CloseConnection();
    EXPECT_EQ(q.GetFTPFileSize("a.txt"), -2);
    EXPECT_EQ(q.GetLastErrorMessage(),
              "FtpFindFirstFile error code: 6 Message: No connection is open.");
    const std::string log = server().log();
    EXPECT_TRUE(log.find("EPRT") != std::string::npos || log.find("PORT ") != std::string::npos)
        << "active mode by default: " << log;
    if (testing::runningUnderWine()) {
        GTEST_SKIP() << "Wine's FtpCommand opens no data connection: each listing logs in again";
    }
    EXPECT_EQ(server().loginCount(), 1) << log;
}

TEST_F(FtpSessionTest, ChunkedTransfersTrimNamesAndFailWithoutTouchingTheOtherSide)
{
    writeFile(root() / "empty.txt", "");
    writeFile(local("keep.txt"), "precious");
    ASSERT_TRUE(connect());
    std::string to = "  " + local("index.txt").string() + " ";
    std::string from = " index.txt  ";
    // In ASCII mode the server may change line ends, so the file may outgrow its listed size.
    ASSERT_TRUE(q.FTPDownloadFile(to, from)) << q.GetLastErrorMessage();
    EXPECT_EQ(to, local("index.txt").string());
    EXPECT_EQ(from, "index.txt");
    EXPECT_EQ(readFile(to).substr(0, 8), "one line");
    events.clear();

    q.SetFTPDirectory("nowhere");
    const std::string before = q.GetLastErrorMessage();
    std::string blank = "   ";
    EXPECT_FALSE(q.FTPDownloadFile(to, blank));
    EXPECT_FALSE(q.FTPUploadFile(blank, from));
    EXPECT_EQ(q.GetLastErrorMessage(), before);

    for (const char *missingOrEmpty : {"missing.txt", "empty.txt"}) {
        EXPECT_FALSE(download(missingOrEmpty, local("keep.txt")));
        EXPECT_EQ(readFile(local("keep.txt")), "precious");
    }
    EXPECT_TRUE(events.empty());
    std::string absent = local("absent").string();
    EXPECT_FALSE(q.FTPUploadFile(absent, from));
    EXPECT_EQ(q.GetLastErrorMessage(),
              "CreateFile error code: 2 Message: The local file cannot be opened.");
    EXPECT_EQ(readFile(root() / "index.txt"), "one line\r\n");

    // Binary copies move every byte, with one event per 255 bytes and a last one.
    q.SetTransferBinary();
    for (const int size : {0, 1, 254, 255, 256, 510, 1000, 1020, 20000}) {
        SCOPED_TRACE(size);
        const std::string bytes = patternBytes(static_cast<std::size_t>(size));
        const std::string name = "file" + std::to_string(size);
        writeFile(local(name), bytes);
        std::string source = local(name).string();
        std::string target = name;
        ASSERT_TRUE(q.FTPUploadFile(source, target)) << q.GetLastErrorMessage();
        EXPECT_EQ(readFile(root() / name), bytes);
        EXPECT_EQ(events, expectedEvents(size));
        events.clear();
        if (size == 0) {
            continue; // an empty remote file is no download (above)
        }
        ASSERT_TRUE(download(name, local(name + ".back"))) << q.GetLastErrorMessage();
        EXPECT_EQ(readFile(local(name + ".back")), bytes);
        EXPECT_EQ(events, expectedEvents(size));
        events.clear();
    }
}

TEST_F(FtpSessionTest, RemoteEntriesAreMadeRenamedRemovedAndCopiedWhole)
{
    ASSERT_TRUE(connect());
    EXPECT_TRUE(q.CreateFTPDirectory("made"));
    EXPECT_TRUE(q.RenameFTPFile("index.txt", "made/renamed.txt"));
    EXPECT_EQ(readFile(root() / "made/renamed.txt"), "one line\r\n");
    EXPECT_FALSE(q.RemoveFTPDirectory("made")); // not empty
    EXPECT_EQ(q.GetLastErrorMessage().substr(0, 4), "550 ");
    EXPECT_TRUE(q.DeleteFTPFile("made/renamed.txt"));
    EXPECT_TRUE(q.RemoveFTPDirectory("made"));
    EXPECT_FALSE(fs::exists(root() / "made"));
    EXPECT_FALSE(q.RenameFTPFile("missing", "other"));
    EXPECT_FALSE(q.DeleteFTPFile("missing"));

    // Larger than the download writer's buffer, which the copy passes through in pieces.
    writeFile(local("whole.bin"), patternBytes(3000000));
    q.SetTransferBinary();
    ASSERT_TRUE(q.SimpleFTPPutFile(local("whole.bin").string(), "whole.bin"));
    ASSERT_TRUE(q.SimpleFTPGetFile(local("back.bin").string(), "whole.bin"));
    EXPECT_TRUE(readFile(local("back.bin")) == patternBytes(3000000));
    EXPECT_FALSE(q.SimpleFTPGetFile(local("none.bin").string(), "none.bin"));
    EXPECT_FALSE(fs::exists(local("none.bin")));
    EXPECT_TRUE(events.empty()); // whole-file copies raise no progress
}

TEST_F(FtpSessionTest, ListingsHoldTheMatchingEntriesReachableByName)
{
    fs::create_directories(root() / "DIRSTRUCT/pci/sub.txt");
    writeFile(root() / "DIRSTRUCT/pci/b.txt", "bb");
    writeFile(root() / "DIRSTRUCT/pci/readme.inf", "r");
    // Passive mode, which each connection reads when it opens (the others run in active mode).
    q.SetModePassive();
    ASSERT_TRUE(connect());
    q.SetModeActive();
    q.SetFTPDirectory("DIRSTRUCT/pci");
    const auto list = q.GetDirectoryListing("*.txt");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list, q.Directory());
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Item(std::string("B.TXT"))->FileSize, 2);
    EXPECT_TRUE(list->Item(std::string("sub.txt"))->Directory);
    EXPECT_TRUE(list->Item(std::string("index file.txt"))->Normal);
    // By position, counted from one in the server's order; each entry is also found by its name.
    for (std::int32_t position = 1; position <= 4; ++position) {
        EXPECT_EQ(list->Item(list->Item(position)->Filename), list->Item(std::int16_t(position)));
    }
    EXPECT_EQ(list->Item(std::int32_t{0}), nullptr);
    EXPECT_EQ(list->Item(std::int32_t{5}), nullptr);
    // Days since 1899-12-30 in local time: the file was written a moment ago.
    const double today = static_cast<double>(std::time(nullptr)) / 86400 + 25569;
    EXPECT_NEAR(list->Item(std::string("a.txt"))->LastWriteTime.days, today, 1.0);

    // A new listing replaces the session's; the holder of the old one keeps it.
    ASSERT_NE(q.GetDirectoryListing("*.inf"), nullptr);
    EXPECT_EQ(q.Directory()->Count(), 1);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(q.GetDirectoryListing("*.zip"), nullptr);
    EXPECT_EQ(q.Directory()->Count(), 0);
    // The extended command where the client has it (libcurl), the classic one otherwise.
    const std::string log = server().log();
    EXPECT_TRUE(log.find("EPSV") != std::string::npos || log.find("PASV") != std::string::npos)
        << log;
    EXPECT_TRUE(log.find("EPRT") == std::string::npos && log.find("PORT ") == std::string::npos)
        << log;
}

TEST_F(FtpSessionTest, FailedLoginsAndServersGiveTheirTexts)
{
    EXPECT_FALSE(q.OpenConnection(server().host(), "user", "wrong"));
    EXPECT_EQ(q.GetLastErrorMessage().substr(0, 4), "530 ");

    EXPECT_FALSE(q.OpenConnection("127.0.0.1:" + std::to_string(testing::freePort()), "u", "p"));
    EXPECT_EQ(q.GetLastErrorMessage(), "InternetConnect error code: 12029 Message: A connection "
                                       "with the server cannot be made.");
}

// vsftpd in the clear (in active mode, the program's) and with explicit TLS (passive), which
// logs in only when its certificate is trusted.
TEST(FtpVsftpd, DownloadsOverOneLoginInTheClearOrOverTrustedTls)
{
    testing::TemporaryFolder folder;
    writeFile(folder.path() / "root/DIRSTRUCT/index.txt", patternBytes(2000));
    const auto certificate = testing::makeTestCertificate(folder.path());
    for (const bool tls : {false, true}) {
        SCOPED_TRACE(tls ? "TLS" : "clear");
        testing::VsftpServer server(folder.path() / "root",
                                    tls ? std::optional(certificate) : std::nullopt);
        const std::string host = (tls ? "ftps://" : "") + server.host();
        cFTP q(TransferOptions{.trustedCertificates = certificate.certificate.string()});
        if (tls) {
            q.SetModePassive();
        }
        const bool opened = q.OpenConnection(host, "anonymous", "guest");
        if (!opened && q.GetLastErrorMessage().find("code: 12006") != std::string::npos) {
            GTEST_SKIP() << "this build has no FTP over TLS: " << q.GetLastErrorMessage();
        }
        ASSERT_TRUE(opened) << q.GetLastErrorMessage();
        q.SetTransferBinary();
        EXPECT_TRUE(std::get<bool>(q.SetFTPDirectory("/DIRSTRUCT")));
        EXPECT_EQ(q.GetFTPFileSize("index.txt"), 2000);
        std::string to = (folder.path() / "copy").string();
        std::string from = "index.txt";
        ASSERT_TRUE(q.FTPDownloadFile(to, from)) << q.GetLastErrorMessage();
        EXPECT_EQ(readFile(to), patternBytes(2000));
        q.CloseConnection();
        if (!testing::runningUnderWine()) {
            EXPECT_EQ(server.loginCount(), 1) << server.log();
        }
        if (tls) {
            cFTP untrusting;
            EXPECT_FALSE(untrusting.OpenConnection(host, "anonymous", "guest"));
            EXPECT_EQ(untrusting.GetLastErrorMessage().substr(0, 33),
                      "InternetConnect error code: 12157");
        }
    }
}

} // namespace
} // namespace tollen::transfer
