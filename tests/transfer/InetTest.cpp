#include "InetFetch.h"
#include "TestServers.h"
#include "core/PathText.h"
#include "transfer/HttpStatus.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

namespace fs = std::filesystem;
using testing::patternBytes;
using testing::writeFile;

/// The Windows build takes trust from the system's store alone and refuses a certificate file,
/// so it shows only the refusals of HTTPS. (Wine does not trust a test certificate placed in the
/// prefix's root stores either.)
bool refusesCertificateFiles(const Inet &inet)
{
    return inet.ResponseError().code == 12009;
}

/// The "file:" URL of a local path: "file:///tmp/x" on Linux, "file:///C:/x" on Windows.
std::string fileUrl(const fs::path &path, const std::string &host = {})
{
    const std::string generic = genericUtf8FromPath(path);
    return "file://" + host + (generic.front() == '/' ? "" : "/") + generic;
}

class HttpControl : public ::testing::Test
{
protected:
    HttpControl()
    {
        writeFile(root() / "DIRSTRUCT/index.txt", patternBytes(3000));
        writeFile(root() / "empty.txt", "");
    }
    fs::path root() const { return m_folder.path() / "root"; }

    testing::TemporaryFolder m_folder;
};

// nginx in the clear, and over TLS with HTTP/1.1 and HTTP/2, which it serves only to a client
// that trusts its certificate. The requests one after the other go out on one connection (nginx
// names the connection of each answer).
TEST_F(HttpControl, RangedGetGivesTheServersHeaderAndTheBodyInPiecesOverEveryVersion)
{
    const auto certificate = testing::makeTestCertificate(m_folder.path());
    for (const auto &[tls, http2] : {std::pair{false, false}, {true, false}, {true, true}}) {
        SCOPED_TRACE(std::string(tls ? "TLS " : "clear ") + (http2 ? "HTTP/2" : "HTTP/1.1"));
        testing::NginxServer server(root(), tls ? std::optional(certificate) : std::nullopt,
                                    "add_header X-Connection $connection always;", http2);
        if (tls) {
            Inet untrusting;
            get(untrusting, server.url() + "/DIRSTRUCT/index.txt");
            EXPECT_EQ(untrusting.GetHeader(), "");
            EXPECT_EQ(untrusting.ResponseError().code, 12157);
        }
        Inet inet(tls ? TransferOptions{.trustedCertificates = certificate.certificate.string()}
                      : TransferOptions{});
        get(inet, server.url() + "/DIRSTRUCT/index.txt");
        if (refusesCertificateFiles(inet)) {
            EXPECT_EQ(inet.GetHeader(), "");
            continue;
        }
        // The header text is the server's own, status line first, whatever its version.
        const std::string statusLine = http2 ? "HTTP/2 206" : "HTTP/1.1 206 Partial Content";
        EXPECT_EQ(inet.GetHeader().substr(0, statusLine.size()), statusLine);
        EXPECT_EQ(inet.GetHeader("content-length"), "3000");
        EXPECT_EQ(inet.GetHeader("Content-Range"), "bytes 0-2999/3000");
        std::string body;
        EXPECT_EQ(chunkSizes(inet, body), (std::vector<std::size_t>{1024, 1024, 952, 0}));
        EXPECT_EQ(body, patternBytes(3000));
        EXPECT_FALSE(inet.ResponseError());
        const std::string connection = inet.GetHeader("X-Connection");

        get(inet, server.url() + "/nothing.txt");
        EXPECT_EQ(httpStatusCode(inet.GetHeader()), 404) << inet.GetHeader();
        // An empty file is served whole.
        get(inet, server.url() + "/empty.txt");
        EXPECT_EQ(httpStatusCode(inet.GetHeader()), 200) << inet.GetHeader();
        EXPECT_TRUE(inet.GetChunk(1024).empty());
        EXPECT_EQ(inet.GetHeader("X-Connection"), connection);
    }
}

TEST(HttpStatusLine, CodeFollowsTheFirstSpaceWhateverTheVersion)
{
    for (const auto &[header, code] : std::vector<std::pair<std::string, int>>{
             {"HTTP/1.1 206 Partial Content\r\nContent-Length: 3\r\n\r\n", 206},
             {"HTTP/2 206 \r\ncontent-length: 3\r\n\r\n", 206},
             {"HTTP/1.0 404 Not Found\n\n", 404},
             {"ICY 200 OK\r\n", 0},
             {"HTTP/2 20\r\n", 0},
             {"HTTP/1.1 2060 Odd\r\n", 0},
             {"HTTP/1.1 OK 200\r\n", 0},
             {"HTTP/1.1\r\n206 x", 0}}) {
        EXPECT_EQ(httpStatusCode(header), code) << header;
    }
}

TEST_F(HttpControl, FileUrlsAreAnsweredFromTheDisk)
{
    Inet inet;
    get(inet, fileUrl(root() / "DIRSTRUCT/index.txt"));
    EXPECT_EQ(inet.GetHeader(), "HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n");
    std::string body;
    EXPECT_EQ(chunkSizes(inet, body), (std::vector<std::size_t>{1024, 1024, 952, 0}));
    EXPECT_EQ(body, patternBytes(3000));

    writeFile(root() / "with space.txt", "x");
    get(inet, fileUrl(root(), "localhost") + "/with%20space.txt");
    EXPECT_EQ(inet.GetHeader("Content-Length"), "1");
    // An escaped NUL would cut the path short and open another file: it names no file. Another
    // machine's file is out of reach on Linux and a share nobody offers on Windows.
    for (const std::string &url : {fileUrl(root() / "none.txt"), fileUrl(root()),
                                   std::string("file://127.0.0.1/etc/hostname"),
                                   fileUrl(root() / "DIRSTRUCT/index.txt") + "%00/pci/index.txt",
                                   fileUrl(root() / "DIRSTRUCT/index.txt") + "%00"}) {
        get(inet, url);
        EXPECT_EQ(inet.GetHeader().substr(9, 3), "404") << url;
        EXPECT_TRUE(inet.GetChunk(1024).empty()) << url;
    }
}

TEST(HttpFaults, BodyShorterThanItsLengthIsReportedAsEndedEarly)
{
    testing::FaultServer server({"http-short", "1000", "5000"});
    Inet inet;
    get(inet, "http://" + server.host() + "/x");
    EXPECT_EQ(inet.GetHeader("Content-Length"), "5000");
    std::string body;
    chunkSizes(inet, body);
    EXPECT_EQ(body, patternBytes(1000));
    EXPECT_EQ(inet.ResponseError().code, 12030);
}

TEST(HttpFaults, EndlessHeaderEndsWithAClearFailure)
{
    testing::FaultServer server({"http-endless-header"});
    Inet inet(TransferOptions{.connectTimeout = std::chrono::seconds(1),
                              .silenceTimeout = std::chrono::seconds(1),
                              .trustedCertificates = {}});
    const auto start = std::chrono::steady_clock::now();
    get(inet, "http://" + server.host() + "/x");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(inet.GetHeader(), "");
    // Wine's internet library reads header lines without a limit: its wait ends at the deadline.
    EXPECT_EQ(inet.ResponseError().code, testing::runningUnderWine() ? 12002 : 8);
    EXPECT_TRUE(inet.GetChunk(1024).empty());
}

TEST(HttpFaults, SilentServerAndRefusedPortEndTheWait)
{
    testing::FaultServer server({"http-silent"});
    Inet inet(TransferOptions{.connectTimeout = std::chrono::seconds(1),
                              .silenceTimeout = std::chrono::seconds(1),
                              .trustedCertificates = {}});
    const auto start = std::chrono::steady_clock::now();
    get(inet, "http://" + server.host() + "/x");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(inet.GetHeader(), "");
    EXPECT_EQ(inet.ResponseError().code, 12002);

    get(inet, "http://127.0.0.1:" + std::to_string(testing::freePort()) + "/x");
    EXPECT_EQ(inet.GetHeader(), "");
    EXPECT_EQ(inet.ResponseError().code, 12029);
    EXPECT_TRUE(inet.GetChunk(1024).empty());
    // Only web addresses go to the network.
    for (const std::string url : {"ftp://127.0.0.1/x", "gopher://127.0.0.1/"}) {
        get(inet, url);
        EXPECT_EQ(inet.GetHeader(), "") << url;
        EXPECT_EQ(inet.ResponseError().code, 12007) << url;
    }
}

} // namespace
} // namespace tollen::transfer
