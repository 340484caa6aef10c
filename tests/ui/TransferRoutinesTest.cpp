// The main window's transfer routines over real servers on 127.0.0.1 (pyftpdlib, nginx, the
// fault server): what the window shows and where the files go. The ways a transfer fails are
// the reliability tests' fault matrix.

#include "ui/TransferRoutines.h"

#include "TestServers.h"
#include "ui/HeadlessForm1.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;
using tollen::testing::patternBytes;
using tollen::testing::readFile;
using tollen::testing::writeFile;

/// The main window's controls without a screen, and the routines on them.
class MainWindowTransfers : public ::testing::Test
{
protected:
    MainWindowTransfers()
    {
        form.Option1.addOption("HTTP");
        form.Option1.addOption("FTP");
        form.eventLoop.onYield = [this] { enabledAtYields.push_back(form.window.isEnabled()); };
        writeFile(root() / "DIRSTRUCT/pci/index.txt", patternBytes(1000));
    }

    void chooseHttp(const std::string &host)
    {
        form.Option1.select(0);
        form.host.setText(host);
    }
    fs::path root() const { return m_remote.path() / "drivers"; }
    fs::path local(const std::string &name) const { return m_local.path() / name; }
    /// Downloads `strurl` to the local file `name`.
    std::int16_t download(std::string strurl, const std::string &name = "x",
                          std::int64_t size = database::RemoteFiles::kAnySize)
    {
        std::string destination = local(name).string();
        return routines.DownloadFile(strurl, destination, size);
    }
    bool disabledWhileWorkingAndEnabledAfter() const
    {
        return form.window.isEnabled() &&
               std::ranges::find(enabledAtYields, false) != enabledAtYields.end();
    }

    HeadlessForm1 form;
    Form1Controls controls = form.controls();
    transfer::cFTP q;
    transfer::Inet inet;
    TransferRoutines routines{q, inet, controls};
    std::vector<bool> enabledAtYields;
    tollen::testing::TemporaryFolder m_remote;

private:
    tollen::testing::TemporaryFolder m_local;
};

TEST_F(MainWindowTransfers, FtpSizeAndDownloadUseOneConnectionEachAndTheBasePath)
{
    tollen::testing::PyFtpServer server(m_remote.path(), "user", "secret");
    form.Option1.select(1);
    form.host.setText(server.host());
    form.path.setText("/drivers/");
    form.user.setText("user");
    form.pass.setText("secret");
    EXPECT_EQ(routines.GetFileSize("/DIRSTRUCT/pci/index.txt"), 1000);
    EXPECT_EQ(routines.GetFileSize("/DIRSTRUCT/pci/none.txt"), -1);
    std::string strurl = "/DIRSTRUCT/pci/index.txt";
    std::string destination = " " + local("index.txt").string() + " ";
    EXPECT_EQ(routines.DownloadFile(strurl, destination), 1);
    EXPECT_EQ(destination, local("index.txt").string());
    EXPECT_EQ(strurl, "/DIRSTRUCT/pci/index.txt");
    EXPECT_EQ(readFile(destination), patternBytes(1000));
    EXPECT_EQ(form.Label9.caption(), "100%");
    EXPECT_EQ(form.ProgressBar1.value(), 1000);
    EXPECT_TRUE(disabledWhileWorkingAndEnabledAfter());

    EXPECT_EQ(download("/DIRSTRUCT/none.txt", "index.txt"), 0);
    // Nor is a file larger than the size it was asked for by.
    EXPECT_EQ(download("/DIRSTRUCT/pci/index.txt", "index.txt", 999), 0);
    EXPECT_EQ(readFile(destination), patternBytes(1000));
    // Under Wine, whose FtpCommand opens no data connection, each listing logs in again.
    if (!tollen::testing::runningUnderWine()) {
        EXPECT_EQ(server.loginCount(), 5);
    }
    EXPECT_TRUE(form.dialogs.questions().empty());

    // No connection: one box per call, and -1.
    form.host.setText("127.0.0.1:" + std::to_string(tollen::testing::freePort()));
    EXPECT_EQ(routines.GetFileSize("/index.txt"), -1);
    EXPECT_EQ(download("/index.txt", "none"), -1);
    EXPECT_EQ(form.dialogs.questions().size(), 2u);
    EXPECT_EQ(form.dialogs.questions()[0].text, "FTP ERROR: Can't establish connection");
    EXPECT_FALSE(fs::exists(local("none")));
}

TEST_F(MainWindowTransfers, HttpDownloadKeepsTheFullUrlAndShowsItsProgress)
{
    writeFile(root() / "DIRSTRUCT/index.txt", patternBytes(3000));
    tollen::testing::NginxServer server(root());
    chooseHttp(server.url());
    EXPECT_EQ(routines.GetFileSize("/DIRSTRUCT/index.txt"), 3000);

    std::string strurl = "/DIRSTRUCT/index.txt";
    std::string destination = local("index.txt").string();
    EXPECT_EQ(routines.DownloadFile(strurl, destination), 1);
    EXPECT_EQ(strurl, server.url() + "//DIRSTRUCT/index.txt");
    EXPECT_EQ(readFile(destination), patternBytes(3000));
    EXPECT_EQ(form.Label9.caption(), "100%");
    EXPECT_EQ(form.ProgressBar1.maximum(), 3000);
    EXPECT_EQ(form.ProgressBar1.value(), 3000);
    EXPECT_TRUE(disabledWhileWorkingAndEnabledAfter());
}

TEST_F(MainWindowTransfers, HttpsSizeAndDownloadWorkOverHttp2AsOverHttp11)
{
    writeFile(root() / "DIRSTRUCT/index.txt", patternBytes(3000));
    const auto certificate = tollen::testing::makeTestCertificate(m_remote.path());
    transfer::Inet trusting(
        transfer::TransferOptions{.trustedCertificates = certificate.certificate.string()});
    TransferRoutines httpsRoutines(q, trusting, controls);
    // /parts.bin is the index sent in parts: to a request from the first byte nginx answers
    // with the first 1,000 bytes only, as a cache may.
    const std::string firstPartOnly =
        "location = /parts.bin {\n set $asked $http_range;\n"
        " if ($http_range = \"bytes=0-\") { set $asked \"bytes=0-999\"; }\n"
        " proxy_set_header Range $asked;\n"
        " proxy_pass https://127.0.0.1:$server_port/DIRSTRUCT/index.txt;\n}\n";
    for (const bool http2 : {false, true}) {
        tollen::testing::NginxServer server(root(), certificate, firstPartOnly, http2);
        chooseHttp(server.url());
        const std::int32_t size = httpsRoutines.GetFileSize("/DIRSTRUCT/index.txt");
        if (trusting.ResponseError().code == 12009) {
            GTEST_SKIP() << "this build takes trust from the system's store alone: "
                         << trusting.ResponseError().message;
        }
        EXPECT_EQ(size, 3000) << http2;
        EXPECT_EQ(httpsRoutines.GetFileSize("/DIRSTRUCT/none.txt"), -1) << http2;
        // The size is the whole file's, and the rest of it is asked for.
        EXPECT_EQ(httpsRoutines.GetFileSize("/parts.bin"), 3000) << http2;
        for (const char *path : {"/DIRSTRUCT/index.txt", "/parts.bin"}) {
            std::string strurl = path;
            std::string destination = local(http2 ? "h2.txt" : "h1.txt").string();
            EXPECT_EQ(httpsRoutines.DownloadFile(strurl, destination), 1) << http2 << path;
            EXPECT_EQ(readFile(destination), patternBytes(3000));
        }
    }
}

TEST_F(MainWindowTransfers, HttpBodyWithoutLengthShowsBusyAndIsReadToItsEnd)
{
    tollen::testing::FaultServer server({"http-nolength", "5000"});
    chooseHttp("http://" + server.host());
    EXPECT_EQ(download("x"), 1);
    EXPECT_EQ(readFile(local("x")), patternBytes(5000));
    EXPECT_EQ(form.ProgressBar1.maximum(), 0);
    EXPECT_EQ(form.Label9.caption(), "");
}

} // namespace
} // namespace tollen::ui
