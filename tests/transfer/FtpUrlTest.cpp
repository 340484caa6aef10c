#include "transfer/FtpUrl.h"

#include "EnvironmentOverride.h"
#include "TestServers.h"

#include <cctype>
#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace tollen::transfer {
namespace {

/// Runs the test body under an 8-bit locale (ISO-8859-1), as the program runs when the user's
/// environment names one: <cctype> then takes bytes such as 0xC3 and 0xA9 for letters. The
/// locale is built from the locale sources into a private folder, so the machine needs none
/// generated.
class EightBitLocale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(testing::runProgram({"/usr/bin/localedef", "--quiet", "-i", "en_US", "-f",
                                       "ISO-8859-1", (m_folder.path() / kName).string()}),
                  0);
        ASSERT_NE(std::setlocale(LC_ALL, kName), nullptr);
        ASSERT_TRUE(std::isalnum(0xE9)) << "the locale does not take 0xE9 for a letter";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previousLocale.c_str()); }

private:
    static constexpr const char *kName = "en_US.ISO-8859-1";
    testing::TemporaryFolder m_folder;
    testing::EnvironmentOverride m_locpath{"LOCPATH", m_folder.path().string()};
    std::string m_previousLocale = std::setlocale(LC_ALL, nullptr);
};

TEST_F(EightBitLocale, UrlsTakeOnlyAsciiCharactersAsTheyAre)
{
    struct PathRow
    {
        const char *path;
        const char *url;
    };
    for (const PathRow &row : {
             PathRow{"/", "ftp://h:21/%2F"},
             PathRow{"/a b/x~y-z_1.2", "ftp://h:21/%2Fa%20b/x~y-z_1.2"},
             PathRow{"/Tr\xC3\xA9iber/\xB5\xAA.zip", "ftp://h:21/%2FTr%C3%A9iber/%B5%AA.zip"},
             PathRow{"/q?/#/%", "ftp://h:21/%2Fq%3F/%23/%25"},
         }) {
        EXPECT_EQ(ftpFileUrl("ftp://h:21", row.path), row.url) << row.path;
    }

    // A server name holds ASCII characters only; the connection calls take host and port apart.
    struct ServerRow
    {
        const char *server;
        FtpServerAddress address;
    };
    for (const ServerRow &row : {
             ServerRow{"127.0.0.1", {"ftp://127.0.0.1", false, "127.0.0.1", 0}},
             ServerRow{" ftp://files.example:2121/drivers ",
                       {"ftp://files.example:2121", false, "files.example", 2121}},
             ServerRow{"FTPS://[::1]:990", {"ftp://[::1]:990", true, "::1", 990}},
             ServerRow{"[::1]", {"ftp://[::1]", false, "::1", 0}},
         }) {
        const auto address = ftpServerAddress(row.server);
        ASSERT_TRUE(address) << row.server;
        EXPECT_EQ(address->root, row.address.root);
        EXPECT_EQ(address->tls, row.address.tls) << row.server;
        EXPECT_EQ(address->host, row.address.host);
        EXPECT_EQ(address->port, row.address.port) << row.server;
    }
    for (const char *refused : {"caf\xC3\xA9.example", "h\xE9st", "a b", "", "h:0", "h:65536",
                                "h:", "h:1x", "[::1", "::1", "[]:21", "h:21:22"}) {
        EXPECT_FALSE(ftpServerAddress(refused)) << refused;
    }
}

} // namespace
} // namespace tollen::transfer
