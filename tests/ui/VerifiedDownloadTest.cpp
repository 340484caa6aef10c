// The verified download over the window's transfer routines and real servers on 127.0.0.1:
// nginx over TLS (HTTP/1.1 and HTTP/2), vsftpd, and a file: URL.

#include "database/VerifiedDownload.h"

#include "DatabaseFixture.h"
#include "TestServers.h"
#include "ui/DemoDatabase.h"
#include "ui/HeadlessForm1.h"
#include "ui/TransferRoutines.h"

#include <gtest/gtest.h>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;
using database::downloadVerified;
using database::partialPath;
using Kind = database::VerifiedDownload::Kind;
using tollen::testing::patternBytes;
using tollen::testing::readFile;
using tollen::testing::writeFile;

enum class Server { Https11, Https2, Ftp, File };

class VerifiedDownloadOver : public ::testing::TestWithParam<Server>
{
protected:
    VerifiedDownloadOver()
    {
        form.Option1.addOption("HTTP");
        form.Option1.addOption("FTP");
        writeFile(m_remote.path() / "V/pkg.zip", content);
        fs::permissions(m_remote.path(), fs::perms(0755));
        const Server kind = GetParam();
        if (kind == Server::Ftp || kind == Server::File) {
            m_server = std::make_unique<testing::DatabaseServer>(
                kind == Server::Ftp ? testing::DatabaseServer::Kind::Ftp
                                    : testing::DatabaseServer::Kind::File,
                m_remote.path());
            m_server->choose(form);
            return;
        }
        m_nginx = std::make_unique<testing::NginxServer>(m_remote.path(), m_certificate, "",
                                                         kind == Server::Https2);
        form.Option1.select(0);
        form.host.setText(m_nginx->url());
    }

    database::VerifiedDownload download(const std::optional<FileDigest> &expected, bool resume)
    {
        return downloadVerified(routines, "/V/pkg.zip", target, expected, resume);
    }

    const std::string content = patternBytes(300'000);
    const FileDigest digest{sha256Hex(content), content.size()};
    testing::TemporaryFolder m_remote;
    testing::TemporaryFolder m_local;
    const fs::path target = m_local.path() / "pkg.zip";
    testing::TestCertificate m_certificate = testing::makeTestCertificate(m_local.path());
    HeadlessForm1 form;
    transfer::cFTP q;
    transfer::Inet inet{
        transfer::TransferOptions{.trustedCertificates = m_certificate.certificate.string()}};
    TransferRoutines routines{q, inet, form.controls()};
    std::unique_ptr<testing::DatabaseServer> m_server;
    std::unique_ptr<testing::NginxServer> m_nginx;
};

TEST_P(VerifiedDownloadOver, ResumesAHalfPartToTheIdenticalFileAndKeepsNothingOfAMismatch)
{
    const database::VerifiedDownload whole = download(digest, false);
    if (whole.failure == transfer::FailureKind::NoConnection && testing::runningUnderWine()) {
        GTEST_SKIP() << "this build takes trust from the system's store alone: " << whole.reason;
    }
    ASSERT_EQ(whole.kind, Kind::Done) << whole.reason;
    EXPECT_EQ(whole.digest, digest);
    EXPECT_EQ(readFile(target), content);
    EXPECT_FALSE(fs::exists(partialPath(target)));

    // A part of half the file, left by an interrupted run, is continued from its end.
    fs::remove(target);
    writeFile(partialPath(target), content.substr(0, content.size() / 2));
    std::uint64_t shown = 0;
    const auto resumed = downloadVerified(routines, "/V/pkg.zip", target, digest, true,
                                          [&](std::uint64_t received, std::uint64_t total) {
                                              EXPECT_EQ(total, content.size());
                                              shown = received;
                                          });
    ASSERT_EQ(resumed.kind, Kind::Done) << resumed.reason;
    EXPECT_EQ(resumed.resumedFrom, content.size() / 2);
    EXPECT_EQ(shown, content.size());
    EXPECT_EQ(readFile(target), content);
    EXPECT_FALSE(fs::exists(partialPath(target)));
    // A part longer than the file is of another file: the download starts afresh.
    writeFile(partialPath(target), content + "more");
    EXPECT_EQ(download(digest, true).resumedFrom, 0U);
    EXPECT_EQ(readFile(target), content);

    // The file on the server is not the one the database names: nothing of it stays, not even
    // the part that was continued; the file that was there before is left as it was.
    writeFile(partialPath(target), content.substr(0, 1000));
    const FileDigest other{sha256Hex("other"), content.size()};
    const auto mismatch = download(other, true);
    EXPECT_EQ(mismatch.kind, Kind::Mismatch);
    EXPECT_EQ(mismatch.digest, digest);
    EXPECT_NE(mismatch.reason.find(other.sha256), std::string::npos);
    EXPECT_NE(mismatch.reason.find(digest.sha256), std::string::npos);
    EXPECT_FALSE(fs::exists(partialPath(target)));
    EXPECT_EQ(readFile(target), content);
    const auto shorter = download(FileDigest{digest.sha256, content.size() - 1}, false);
    EXPECT_EQ(shorter.kind, Kind::Mismatch);
    EXPECT_FALSE(fs::exists(partialPath(target)));

    // In memory, proved the same way.
    const database::VerifiedBytes inMemory =
        database::downloadVerifiedBytes(routines, "/V/pkg.zip", digest);
    EXPECT_EQ(inMemory.result.kind, Kind::Done) << inMemory.result.reason;
    EXPECT_EQ(inMemory.bytes, content);
    const database::VerifiedBytes longer =
        database::downloadVerifiedBytes(routines, "/V/pkg.zip", {digest.sha256, 1000});
    EXPECT_EQ(longer.result.kind, Kind::Mismatch);
    EXPECT_TRUE(longer.bytes.empty());
    EXPECT_EQ(database::downloadVerifiedBytes(routines, "/V/pkg.zip", other).result.kind,
              Kind::Mismatch);

    // A missing file is a failure of its own kind; without resume no part stays.
    EXPECT_EQ(downloadVerified(routines, "/V/none.zip", target, digest, false).failure,
              transfer::FailureKind::NotFound);
    EXPECT_FALSE(fs::exists(partialPath(target)));
}

TEST(VerifiedDownload, AServerThatCannotContinueSendsTheWholeFileWhichReplacesThePart)
{
    // The scripted server answers a request from any byte with the whole file (200).
    const testing::FaultServer server({"http-grow", "3000", "3000"});
    HeadlessForm1 form;
    form.host.setText("http://" + server.host());
    transfer::cFTP q;
    transfer::Inet inet;
    TransferRoutines routines{q, inet, form.controls()};
    const testing::TemporaryFolder local;
    const fs::path target = local.path() / "pkg.zip";
    writeFile(partialPath(target), std::string(1000, 'x'));
    const FileDigest digest{sha256Hex(patternBytes(3000)), 3000};
    const auto result = downloadVerified(routines, "/pkg.zip", target, digest, true);
    EXPECT_EQ(result.kind, Kind::Done) << result.reason;
    EXPECT_EQ(result.resumedFrom, 0U);
    EXPECT_EQ(readFile(target), patternBytes(3000));
}

INSTANTIATE_TEST_SUITE_P(Servers, VerifiedDownloadOver,
                         ::testing::Values(Server::Https11, Server::Https2, Server::Ftp,
                                           Server::File));

} // namespace
} // namespace tollen::ui
