// Hostile Remote Paths from the road a user takes: an index file of the database lists them, the
// window's query ("Other device") puts them in the results list, and each row is activated in
// both branches against nginx (HTTP/1.1, and HTTP/2 over TLS), vsftpd and a file: tree. A row
// either brings exactly the file its path names below the database, or shows the branch's error
// box; nothing is ever written anywhere but the run folder or the file the user chose.

#include "DatabaseFixture.h"
#include "core/Environment.h"
#include "core/PathText.h"
#include "core/RunFolder.h"
#include "ui/DemoDatabase.h"
#include "ui/Form1.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <set>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;
using testing::patternBytes;
using testing::readFile;
using testing::writeFile;

enum class Server { Http, Http2Tls, Ftp, File };

/// A row of the index and the file below the database it must bring; none for a row that must
/// fail. A row whose archive names no file of its own fails before the save dialog is shown.
struct HostileRow
{
    std::string remotePath;
    std::string served;
    bool nameless = false;
};

const std::vector<HostileRow> kRows = {
    // Spaces, "#", "?" (where file names hold it), "%", non-ASCII and a leading dash reach the
    // server as the text they are.
    {"/pkgs/" + testing::storableName("a b#c?d%41 é") + "/drv ü.zip/x/a.inf",
     "pkgs/" + testing::storableName("a b#c?d%41 é") + "/drv ü.zip"},
    {"/pkgs/100%25/%2e%2e/pack.7z", "pkgs/100%25/%2e%2e/pack.7z"},
    {"/pkgs/--help.exe", "pkgs/--help.exe"},
    // A folder whose name ends in an archive suffix, or holds one, is taken for the archive:
    // there is no such file to bring.
    {"/pkgs/folder.exe/real.zip/a.inf", ""},
    {"/pkgs/tools.zip.d/inner.zip/a.inf", ""},
    // Paths that leave the database, and names that are no file of their own.
    {"/pkgs/../../outside.zip", ""},
    {"/pkgs/..\\..\\outside.zip", ""},
    {"/../outside.zip/a.inf", ""},
    {"/pkgs/", "", true},
    {"/pkgs/.", "", true},
    {"/pkgs/..", "", true},
    {"", "", true},
};

/// Every path in `folder` (below it too when `recursive`), with the size of each file.
std::set<std::string> treeOf(const fs::path &folder, bool recursive = true)
{
    std::set<std::string> entries;
    const auto add = [&entries](const fs::directory_entry &entry) {
        entries.insert(utf8FromPath(entry.path()) +
                       (entry.is_regular_file() ? " " + std::to_string(entry.file_size()) : ""));
    };
    if (recursive) {
        std::ranges::for_each(fs::recursive_directory_iterator(folder), add);
    } else {
        std::ranges::for_each(fs::directory_iterator(folder), add);
    }
    return entries;
}

class HostileRemotePaths : public ::testing::TestWithParam<Server>
{
protected:
    HostileRemotePaths()
    {
        std::vector<std::string> lines;
        for (const HostileRow &row : kRows) {
            lines.push_back(
                testing::indexLine({"Archived", "Maker", "Card", R"(PCI\VEN_1234)", "Net",
                                    "NTamd64", "1.0", "01/01/2024", row.remotePath}));
            if (!row.served.empty()) {
                writeFile(root() / pathFromUtf8(row.served),
                          patternBytes(1500 + row.served.size()));
            }
        }
        testing::writeIndex(root(), "pci/VEN_1234", lines);
        writeFile(root() / "pkgs/folder.exe/real.zip", patternBytes(100));
        writeFile(root() / "pkgs/tools.zip.d/inner.zip", patternBytes(100));
        // What a path leaving the database would find.
        writeFile(m_remote.path() / "outside.zip", "outside");
    }

    fs::path root() const { return m_remote.path() / "db"; }
    /// The HTTP version nginx logged for the first request; empty for the other servers.
    std::string httpVersion() const
    {
        const std::vector<std::string> requests =
            m_nginx ? m_nginx->requests(1) : std::vector<std::string>{};
        return requests.empty() ? std::string()
                                : requests.front().substr(requests.front().rfind(' ') + 1);
    }
    fs::path chosenFile() const { return m_local.path() / "chosen.bin"; }

    /// The window, pointed at a server of the test's kind serving the database.
    void serve(HeadlessForm1 &controls)
    {
        controls.Option1.select(GetParam() == Server::Ftp ? 1 : 0);
        switch (GetParam()) {
        case Server::Http:
            m_nginx = std::make_unique<testing::NginxServer>(root());
            controls.host.setText(m_nginx->url());
            break;
        case Server::Http2Tls:
            m_nginx = std::make_unique<testing::NginxServer>(root(), *m_certificate, "", true);
            controls.host.setText(m_nginx->url());
            break;
        case Server::Ftp:
            m_vsftpd = std::make_unique<testing::VsftpServer>(root());
            controls.host.setText(m_vsftpd->host());
            break;
        case Server::File:
            controls.host.setText(fileUrl(root()));
            break;
        }
        controls.path.setText("/");
        controls.user.setText("anonymous");
        controls.pass.setText("guest");
    }

    Form1Startup startup() const
    {
        Form1Startup startup;
        if (m_certificate) {
            startup.transferOptions.trustedCertificates = m_certificate->certificate.string();
        }
        return startup;
    }

    /// Everything the test could see written: the temporary directory (whose other folders are
    /// the servers' own, with their logs) and the run folder in it, the folder the user saves
    /// into, and the database's side.
    std::set<std::string> everything() const
    {
        std::set<std::string> all = treeOf(temporaryDirectory(), false);
        all.merge(treeOf(runFolder().path));
        all.merge(treeOf(m_local.path()));
        all.merge(treeOf(m_remote.path()));
        return all;
    }

private:
    testing::TemporaryFolder m_remote;
    testing::TemporaryFolder m_local;
    testing::TemporaryFolder m_keys;
    /// Made only for the server that needs one.
    std::optional<testing::TestCertificate> m_certificate =
        GetParam() == Server::Http2Tls ? std::optional(testing::makeTestCertificate(m_keys.path()))
                                       : std::nullopt;
    std::unique_ptr<testing::NginxServer> m_nginx;
    std::unique_ptr<testing::VsftpServer> m_vsftpd;
};

std::string serverName(const ::testing::TestParamInfo<Server> &info)
{
    switch (info.param) {
    case Server::Http:
        return "nginx";
    case Server::Http2Tls:
        return "nginx_http2_tls";
    case Server::Ftp:
        return "vsftpd";
    case Server::File:
        return "file";
    }
    return "unknown";
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileRemotePaths,
                         ::testing::Values(Server::Http, Server::Http2Tls, Server::Ftp,
                                           Server::File),
                         serverName);

TEST_P(HostileRemotePaths, FromTheQueryEachRowBringsItsOwnFileOrAClearErrorAndNothingElse)
{
    if (GetParam() == Server::Http2Tls && testing::runningUnderWine()) {
        GTEST_SKIP() << "Wine's internet library trusts no certificate a test makes, not even "
                        "one in the prefix's Root store";
    }
    HeadlessForm1 controls;
    Form1 form(controls.controls(), startup());
    serve(controls);
    controls.dialogs.script(std::string(R"(PCI\VEN_1234)"));
    controls.Command2.onClick();
    ASSERT_EQ(controls.ListView2.rowCount(), static_cast<int>(kRows.size()))
        << controls.Label5.caption();
    if (GetParam() == Server::Http2Tls) {
        EXPECT_EQ(httpVersion(), "HTTP/2.0");
    }

    for (std::size_t index = 0; index < kRows.size(); ++index) {
        const HostileRow &row = kRows[index];
        const int listRow = static_cast<int>(index) + 1;
        ASSERT_EQ(controls.ListView2.subItem(listRow, 7), row.remotePath);
        for (const bool open : {true, false}) {
            SCOPED_TRACE((open ? "open " : "save ") + row.remotePath);
            const std::set<std::string> before = everything();
            const std::size_t launched = controls.launcher.opened().size();
            controls.dialogs.forgetQuestions();
            controls.Label5.setCaption("before");
            controls.Check1.setChecked(open);
            controls.ListView2.selectRow(listRow);
            controls.dialogs.script(controls::kAnswerYes);
            if (!open && !row.nameless) {
                controls.dialogs.script(
                    controls::HeadlessDialogs::FileAnswer{chosenFile().string()});
            }
            controls.ListView2.onDoubleClick();

            std::set<std::string> added;
            std::ranges::set_difference(everything(), before, std::inserter(added, added.end()));
            const auto &questions = controls.dialogs.questions();
            ASSERT_FALSE(questions.empty());
            EXPECT_EQ(questions.front().text, "Download driver?");
            EXPECT_EQ(questions.size(),
                      open || row.nameless ? 1u + row.served.empty() : 2u + row.served.empty());
            EXPECT_TRUE(controls.window.isEnabled());
            if (row.served.empty()) {
                EXPECT_EQ(questions.back().text,
                          open ? "Error downloading file!" : "Error downloading file");
                EXPECT_EQ(questions.back().title, "Error");
                EXPECT_NE(controls.Label5.caption(), "Driver download OK.");
                EXPECT_EQ(controls.launcher.opened().size(), launched);
                EXPECT_TRUE(added.empty()) << *added.begin();
                continue;
            }
            const fs::path file =
                open ? runFolder().path / pathFromUtf8(row.served).filename() : chosenFile();
            EXPECT_EQ(controls.Label5.caption(), "Driver download OK.") << questions.back().text;
            EXPECT_EQ(readFile(file), readFile(root() / pathFromUtf8(row.served)));
            EXPECT_EQ(added, (std::set<std::string>{utf8FromPath(file) + " " +
                                                    std::to_string(fs::file_size(file))}));
            if (open) {
                ASSERT_EQ(controls.launcher.opened().size(), launched + 1);
                EXPECT_EQ(controls.launcher.opened().back(), utf8FromPath(file));
            }
            fs::remove(file);
        }
    }
}

} // namespace
} // namespace tollen::ui
