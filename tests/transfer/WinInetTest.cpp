// What the Windows build adds to the transfer layer: the internet library's FTP session's
// refusals and local files by drive, share and long or non-ASCII names; its HTTPS refusals are
// InetTest's. Names with spaces, which the library's own listing reader would cut, are
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

} // namespace
} // namespace tollen::transfer
