// What the Windows build adds to the transfer layer: the internet library's FTP session's
// refusals, local files by drive, share and long or non-ASCII names, and the HTTPS trust and
// options it refuses. Names with spaces, which the library's own listing reader would cut, are
// in cFTPTest, which runs here too.
#include "InetFetch.h"
#include "TestServers.h"
#include "core/PathText.h"
#include "transfer/FileUrlPath.h"
#include "transfer/cFTP.h"

#include <fstream>
#include <gtest/gtest.h>
#include <windows.h>

namespace tollen::transfer {
namespace {

namespace fs = std::filesystem;
using testing::patternBytes;
using testing::writeFile;

TEST(WinInetFtp, SecureFtpAndCommandsThatWouldSplitAreRefusedClearly)
{
    testing::TemporaryFolder folder;
    writeFile(folder.path() / "a.txt", "a");
    testing::PyFtpServer server(folder.path(), "user", "secret");
    cFTP q;
    EXPECT_FALSE(q.OpenConnection("ftps://" + server.host(), "user", "secret"));
    EXPECT_EQ(q.GetLastErrorMessage(), "InternetConnect error code: 12006 Message: FTP over TLS "
                                       "(ftps://) is not available in this build of the program.");
    EXPECT_EQ(server.loginCount(), 0);

    ASSERT_TRUE(q.OpenConnection(server.host(), "user", "secret"));
    // A name with a line break would send a second command of the name's choosing.
    EXPECT_FALSE(std::get<bool>(q.SetFTPDirectory("x\r\nDELE a.txt")));
    EXPECT_FALSE(std::get<bool>(q.SetFTPDirectory("x\nCWD /")));
    EXPECT_TRUE(fs::exists(folder.path() / "a.txt"));
    EXPECT_EQ(q.GetFTPFileSize("a.txt"), 1);
}

/// A folder on drive C: (the system's temporary folder), removed afterwards.
class DriveFolder
{
public:
    DriveFolder()
    {
        wchar_t temporary[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temporary);
        m_path = fs::path(temporary) / ("tollen-file-url-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(m_path);
    }
    ~DriveFolder()
    {
        std::error_code ignored;
        fs::remove_all(pathFromUtf8(utf8FromPath(m_path)), ignored);
    }
    const fs::path &path() const { return m_path; }

private:
    fs::path m_path;
};

TEST(WinInetFileUrl, DrivePathsWithNonAsciiAndLongNamesAreServed)
{
    DriveFolder folder;
    const std::string base = "file:///" + genericUtf8FromPath(folder.path());
    ASSERT_EQ(base.substr(0, 10), "file:///C:") << base;

    const std::string name = "Treiber f\xC3\xBCr \xE6\x97\xA5\xE6\x9C\xAC.txt";
    std::ofstream(pathFromUtf8(utf8FromPath(folder.path()) + "\\" + name), std::ios::binary)
        << patternBytes(300);
    // Past the 260 characters of the short form.
    std::string deep = utf8FromPath(folder.path());
    std::string deepUrl = base;
    for (int level = 0; level < 6; ++level) {
        deep += "\\" + std::string(50, static_cast<char>('a' + level));
        deepUrl += "/" + std::string(50, static_cast<char>('a' + level));
    }
    ASSERT_TRUE(fs::create_directories(pathFromUtf8(deep)));
    std::ofstream(pathFromUtf8(deep + "\\long.txt"), std::ios::binary) << "long";

    Inet inet;
    for (const auto &[url, expected] : std::vector<std::pair<std::string, std::string>>{
             {base + "/Treiber%20f%C3%BCr%20%E6%97%A5%E6%9C%AC.txt", patternBytes(300)},
             {base + "/" + name, patternBytes(300)},
             {deepUrl + "/long.txt", "long"}}) {
        get(inet, url);
        EXPECT_EQ(inet.GetHeader("Content-Length"), std::to_string(expected.size())) << url;
        std::string body;
        chunkSizes(inet, body);
        EXPECT_TRUE(body == expected) << url;
    }
}

TEST(WinInetFileUrl, HostsNameSharesAndDrivesLeadToTheirFolders)
{
    struct Row
    {
        const char *host;
        const char *path;
        const wchar_t *file; // empty: no file
    };
    for (const Row &row : {
             Row{"", "/C:/Drivers/index.txt", L"C:\\Drivers\\index.txt"},
             Row{"localhost", "/d:/x", L"d:\\x"},
             Row{"", "/C:", L"C:\\"},
             Row{"C:", "/Drivers/x", L"C:\\Drivers\\x"},
             Row{"server", "/share/dir/x.txt", L"\\\\server\\share\\dir\\x.txt"},
             Row{"server", "/", L""},
             Row{"", "/dir/x", L"\\dir\\x"},
             Row{"", "", L""},
         }) {
        const auto found = fileUrlPath(row.host, row.path);
        EXPECT_EQ(found ? found->wstring() : std::wstring(), row.file) << row.host << row.path;
    }
    // A share path past the short form's length takes the long share form.
    const std::string longName(300, 'n');
    const auto share = fileUrlPath("server", "/share/" + longName);
    ASSERT_TRUE(share);
    EXPECT_EQ(share->wstring().substr(0, 8), L"\\\\?\\UNC\\");
}

// Wine's library does not trust a test certificate placed in the prefix's root stores (it
// still fails with ERROR_INTERNET_INVALID_CA, whether the certificate sits in the user's or the
// machine's Root store), so a trusted HTTPS answer cannot be shown here: the refusals can.
TEST(WinInetHttps, UntrustedServersAndCertificateFilesAreRefused)
{
    testing::TemporaryFolder folder;
    writeFile(folder.path() / "root/index.txt", patternBytes(3000));
    const auto certificate = testing::makeTestCertificate(folder.path());
    for (const bool http2 : {false, true}) {
        testing::NginxServer server(folder.path() / "root", certificate, {}, http2);
        const std::string url = server.url() + "/index.txt";

        Inet untrusting;
        get(untrusting, url);
        EXPECT_EQ(untrusting.GetHeader(), "");
        EXPECT_EQ(untrusting.ResponseError().code, 12157);
        EXPECT_TRUE(untrusting.GetChunk(1024).empty());

        Inet withFile(TransferOptions{.trustedCertificates = certificate.certificate.string()});
        get(withFile, url);
        EXPECT_EQ(withFile.GetHeader(), "");
        EXPECT_EQ(withFile.ResponseError().code, 12009);
        EXPECT_NE(withFile.ResponseError().message.find("system's certificate store"),
                  std::string::npos);
    }
}

TEST(WinInetHttp, OnlyWebAddressesGoToTheNetwork)
{
    Inet inet;
    for (const std::string url : {"ftp://127.0.0.1/x", "gopher://127.0.0.1/", "127.0.0.1/x"}) {
        get(inet, url);
        EXPECT_EQ(inet.GetHeader(), "") << url;
        EXPECT_EQ(inet.ResponseError().code, 12007) << url;
    }
}

} // namespace
} // namespace tollen::transfer
