// Paths below the database root reach a server as that path and nothing else.

#include "transfer/RemotePath.h"

#include "TestServers.h"
#include "ui/DemoDatabase.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

namespace fs = std::filesystem;
using tollen::testing::readFile;
using tollen::testing::writeFile;

TEST(RemotePath, DotSegmentsBetweenEitherSlashLeaveTheBase)
{
    for (const char *inside : {"/DIRSTRUCT/pci/index.txt", "", "/", "//a//b", "/a..b/c.",
                               "/.a/..b/", "/%2e%2e/index.txt", "/a/.../b"}) {
        EXPECT_TRUE(staysBelowBase(inside)) << inside;
    }
    for (const char *outside : {"..", ".", "/..", "/../index.txt", "/DIRSTRUCT/pci/../../x",
                                "/a/./b", "/a\\..\\b", "a\\.", "/a/..\\b", "/DIRSTRUCT/.."}) {
        EXPECT_FALSE(staysBelowBase(outside)) << outside;
    }
}

TEST(RemotePath, UrlPathsKeepOnlyPlainCharacters)
{
    struct Row
    {
        const char *path;
        const char *encoded;
    };
    const Row rows[] = {
        {"/DIRSTRUCT/pci/VEN_8086/DEV_100E/index.txt",
         "/DIRSTRUCT/pci/VEN_8086/DEV_100E/index.txt"},
        {"/a b/c~d-e_f.g", "/a%20b/c~d-e_f.g"},
        {"/100%/x#y?z=1&w", "/100%25/x%23y%3Fz%3D1%26w"},
        {"/Gerät\\x", "/Ger%C3%A4t%5Cx"},
        {"/a\r\nb\t\x7F", "/a%0D%0Ab%09%7F"},
        {"/\"<>", "/%22%3C%3E"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(encodeUrlPath(row.path), row.encoded) << row.path;
    }
    EXPECT_EQ(encodeUrlPath(std::string("/a\0b", 4)), "/a%00b");
    EXPECT_TRUE(fitsFtpCommand("/a b/%2e/Gerät"));
    EXPECT_FALSE(fitsFtpCommand("/a\r\nDELE x"));
    EXPECT_FALSE(fitsFtpCommand(std::string("/a\0b", 4)));
}

class TransferPaths : public ::testing::Test
{
protected:
    TransferPaths()
    {
        writeFile(root() / "DIRSTRUCT/pci/index.txt", "inside");
        // Beside the database, where a path that climbs out or a lookup in the login directory
        // would find them.
        writeFile(root() / "index.txt", "login directory");
        writeFile(m_remote.path() / "secret.txt", "outside");
    }
    fs::path remote() const { return m_remote.path(); }
    fs::path root() const { return remote() / "root"; }
    std::string local() const { return (m_local.path() / "copy").string(); }

    ui::HeadlessForm1 controls;
    ui::Form1 form{controls.controls(), ui::Form1Startup{}};

private:
    tollen::testing::TemporaryFolder m_remote;
    tollen::testing::TemporaryFolder m_local;
};

TEST_F(TransferPaths, FtpLooksNowhereButTheNamedDirectory)
{
    tollen::testing::VsftpServer server(root());
    controls.Option1.select(1);
    controls.host.setText(server.host());
    controls.path.setText("/");
    controls.user.setText("anonymous");
    EXPECT_EQ(form.GetFileSize("/DIRSTRUCT/pci/index.txt"), 6);
    // The directory does not exist: the login directory's file of the same name is not used.
    EXPECT_EQ(form.GetFileSize("/DIRSTRUCT/none/index.txt"), -1);
    std::string strurl = "/DIRSTRUCT/none/index.txt";
    std::string destination = " " + local() + " ";
    EXPECT_EQ(form.DownloadFile(strurl, destination), 0);
    EXPECT_EQ(destination, local());
    EXPECT_FALSE(fs::exists(local()));
    EXPECT_TRUE(controls.window.isEnabled());
    EXPECT_EQ(server.loginCount(), 3);

    strurl = "/DIRSTRUCT/pci/../../index.txt";
    EXPECT_EQ(form.GetFileSize(strurl), -1);
    EXPECT_EQ(form.DownloadFile(strurl, destination), 0);
    EXPECT_EQ(server.loginCount(), 3);
}

TEST_F(TransferPaths, HttpAndFileUrlsAskOnlyForPathsBelowTheHost)
{
    tollen::testing::NginxServer server(remote());
    controls.Option1.select(0);
    for (const std::string &host : {server.url() + "/root", ui::fileUrl(root())}) {
        SCOPED_TRACE(host);
        controls.host.setText(host);
        EXPECT_EQ(form.GetFileSize("/DIRSTRUCT/pci/index.txt"), 6);
        for (const char *climbing :
             {"/../secret.txt", "/DIRSTRUCT/pci/../../../secret.txt", "/..\\secret.txt"}) {
            std::string strurl = climbing;
            std::string destination = local();
            EXPECT_EQ(form.GetFileSize(strurl), -1) << strurl;
            EXPECT_EQ(form.DownloadFile(strurl, destination), 0) << strurl;
            EXPECT_EQ(strurl, climbing);
            EXPECT_FALSE(fs::exists(local()));
        }
    }
    // A path that climbs out never left this side.
    EXPECT_EQ(server.requests(1),
              std::vector<std::string>{"GET /root/DIRSTRUCT/pci/index.txt HTTP/1.1"});

    // An encoded NUL would end the name early: the file: URL does not open the shorter name.
    controls.host.setText(ui::fileUrl(root()));
    EXPECT_EQ(form.GetFileSize(std::string("/index.txt\0.zip", 15)), -1);
}

} // namespace
} // namespace tollen::transfer
