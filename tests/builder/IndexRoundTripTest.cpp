// The whole road of a driver database: packages made at test time (a loose folder, a .zip and a
// .7z), indexed by the tollen-index program, served by real servers on loopback (nginx over
// HTTP, and over TLS with HTTP/1.1 and HTTP/2; vsftpd; a file: URL) and looked up through the
// main window's own query on headless controls.

#include "ArchiveFixtures.h"
#include "DatabaseFixture.h"
#include "InfTestText.h"
#include "ui/DownloadRules.h"
#include "ui/Form1.h"

#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

/// A loose network driver, stored as most are: UTF-16LE, names from [Strings], no undecorated
/// models section.
const std::string kLooseInf = R"(; Network card driver
[Version]
Signature="$Windows NT$"
Class=Net
DriverVer=05/21/2008, 8.4.21.0

[Manufacturer]
%Intel%=Intel, NTamd64.6.1, NTx86

[Intel.NTamd64.6.1]
%E100E.Desc% = E100E.Install, PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02, \
    PCI\VEN_8086&DEV_100E

[Intel.NTx86]
%E100E.Desc% = E100E.Install, PCI\VEN_8086&DEV_100E&SUBSYS_001E8086

[Strings]
Intel = "Intel Corporation"
E100E.Desc = "Intel(R) PRO/1000 MT Desktop Adapter"
)";

/// The zipped driver: a manufacturer entry without "=", a quoted name with a quote in it, an ID
/// in lower case.
std::string zippedInf(const std::string &version)
{
    return "[Version]\r\nClass=%NetClass%\r\nDriverVer=01/01/2011," + version +
           "\r\n[Manufacturer]\r\nIntel\r\n[Intel]\r\n"
           "\"82574L Gigabit \"\"Network\"\" Connection\" = E10D3, "
           "PCI\\VEN_8086&DEV_10D3&SUBSYS_00008086\r\n"
           "Intel PRO/1000 (Zip) = E100E, pci\\ven_8086&dev_100e&subsys_11008086 ; OEM board\r\n"
           "[Strings]\r\nNetClass=Net\r\n";
}

/// Inside an archive inside the zip: never read.
const std::string kNestedInf =
    "[Manufacturer]\nM=S\n[S]\nNested=I,PCI\\VEN_8086&DEV_100E&SUBSYS_99998086\n";

const std::string kReceiverInf =
    "[Version]\nClass=HIDClass\nDriverVer=04/04/2013,1.10.0\n"
    "[Manufacturer]\n%Mfg%=Models,NTamd64.6.2\n"
    "[Models.NTamd64.6.2]\n%Unifying%=Install, USB\\VID_046D&PID_C52B\n"
    "%Nano%=Install, USB\\VID_046D&PID_C534&MI_00\n"
    "[Strings]\nMfg=Logitech\nUnifying=\"Unifying Receiver\"\n"
    "Nano=\"Nano Receiver\"\n";

const std::string kLoosePath = "/lan/Win7/e1000.inf";
const std::string kZipPath = "/packs/lan.zip/PRO1000/Winx64/e1g6032e.inf";
const std::string kSevenZipPath = "/usb/receiver.7z/Receiver/recv.inf";

/// A row of the loose driver: its ID as listed and the system its decoration names.
Strings looseRow(const std::string &hardwareId, const std::string &system)
{
    return {"Intel Corporation",
            "Intel(R) PRO/1000 MT Desktop Adapter",
            hardwareId,
            "Net",
            system,
            "8.4.21.0",
            "05/21/2008",
            kLoosePath,
            "Folder"};
}
const Strings kShortCardRow = looseRow(R"(PCI\VEN_8086&DEV_100E)", "Windows 7 64-Bit");
const Strings kXpCardRow =
    looseRow(R"(PCI\VEN_8086&DEV_100E&SUBSYS_001E8086)", "Windows 32-Bit (XP+)");
const Strings kWin7CardRow =
    looseRow(R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02)", "Windows 7 64-Bit");

/// A row of the zipped driver, whose models section is undecorated.
Strings zippedRow(const std::string &device, const std::string &hardwareId,
                  const std::string &version)
{
    return {"Intel", device, hardwareId, "Net", "", version, "01/01/2011", kZipPath, "Archived"};
}

Strings zippedCardRow(const std::string &version)
{
    return zippedRow("Intel PRO/1000 (Zip)", R"(PCI\VEN_8086&DEV_100E&SUBSYS_11008086)", version);
}

Strings zippedGigabitRow(const std::string &version)
{
    return zippedRow("82574L Gigabit 'Network' Connection",
                     R"(PCI\VEN_8086&DEV_10D3&SUBSYS_00008086)", version);
}

const Rows kReceiverRows = {
    {"Logitech", "Unifying Receiver", R"(USB\VID_046D&PID_C52B)", "HIDClass", "Windows 8 64-Bit",
     "1.10.0", "04/04/2013", kSevenZipPath, "Archived"},
    {"Logitech", "Nano Receiver", R"(USB\VID_046D&PID_C534&MI_00)", "HIDClass", "Windows 8 64-Bit",
     "1.10.0", "04/04/2013", kSevenZipPath, "Archived"},
};

enum class Serving { Http, Https, Http2, Ftp, File };

const char *servingName(Serving serving)
{
    switch (serving) {
    case Serving::Http:
        return "nginx_http";
    case Serving::Https:
        return "nginx_https_http1";
    case Serving::Http2:
        return "nginx_https_http2";
    case Serving::Ftp:
        return "vsftpd";
    case Serving::File:
        return "file";
    }
    return "";
}

class IndexRoundTrip : public ::testing::TestWithParam<Serving>
{
protected:
    IndexRoundTrip()
    {
        fs::create_directories(root());
        writeFile(root() / kLoosePath.substr(1), utf16LittleEndian(kLooseInf));
        putZip("12.0.0.0");
        writeFile(root() / "usb/receiver.7z",
                  makeArchive(ArchiveFormat::SevenZip, {{"Receiver/recv.inf", kReceiverInf}}));
        writeFile(root() / "usb/notes.txt", "not a package");
    }

    fs::path root() const { return m_folder.path() / "drivers"; }

    void putZip(const std::string &version)
    {
        writeFile(root() / "packs/lan.zip",
                  makeArchive(ArchiveFormat::Zip,
                              {{R"(PRO1000\Winx64\e1g6032e.inf)", zippedInf(version)},
                               {"PRO1000/Winx64/readme.txt", "Install with the INF file."},
                               {"PRO1000/nested.zip",
                                makeArchive(ArchiveFormat::Zip, {{"inner.inf", kNestedInf}})}}));
        // A rewritten package must not look unchanged to the builder's cache.
        fs::last_write_time(root() / "packs/lan.zip",
                            fs::file_time_type::clock::now() - std::chrono::hours(++m_rewrites));
    }

    /// Runs tollen-index on the packages; its exit status.
    int index() const { return runProgram({TOLLEN_INDEX_PROGRAM, "--quiet", root().string()}); }

    /// The window, pointed at a server of the parameter's kind serving the packages.
    void serve()
    {
        switch (GetParam()) {
        case Serving::Http:
        case Serving::Ftp:
        case Serving::File:
            m_server = std::make_unique<DatabaseServer>(
                GetParam() == Serving::Http  ? DatabaseServer::Kind::Http
                : GetParam() == Serving::Ftp ? DatabaseServer::Kind::Ftp
                                             : DatabaseServer::Kind::File,
                root());
            makeWindow({});
            m_server->choose(m_controls);
            break;
        case Serving::Https:
        case Serving::Http2: {
            const TestCertificate certificate = makeTestCertificate(m_folder.path());
            m_nginx = std::make_unique<NginxServer>(root(), certificate, std::string(),
                                                    GetParam() == Serving::Http2);
            makeWindow(certificate.certificate.string());
            m_controls.Option1.select(0);
            m_controls.host.setText(m_nginx->url());
            m_controls.path.setText("/");
            break;
        }
        }
    }

    /// The rows the query gives, each with its nine columns.
    Rows query(const std::string &text)
    {
        m_form->QueryDatabase(text, 0);
        return rows();
    }

    /// Refines the last query by the refinement entry `entry`, as a double click does.
    Rows refine(const std::string &entry)
    {
        const int found = m_controls.List2.findStringExact(entry);
        EXPECT_GE(found, 0) << entry;
        m_controls.List2.select(found);
        m_form->List2_DblClick();
        return rows();
    }

    /// The request lines nginx logged over TLS; empty for the other servers.
    Strings tlsRequests() const { return m_nginx ? m_nginx->requests(1) : Strings{}; }

    Rows rows() const
    {
        Rows all;
        for (int row = 1; row <= m_controls.ListView2.rowCount(); ++row) {
            Strings columns = {m_controls.ListView2.text(row)};
            for (int subItem = 1; subItem <= 8; ++subItem) {
                columns.push_back(m_controls.ListView2.subItem(row, subItem));
            }
            all.push_back(std::move(columns));
        }
        return all;
    }

    ui::HeadlessForm1 m_controls;
    std::unique_ptr<ui::Form1> m_form;

private:
    void makeWindow(const std::string &trustedCertificates)
    {
        ui::Form1Startup startup;
        startup.transferOptions.trustedCertificates = trustedCertificates;
        m_form = std::make_unique<ui::Form1>(m_controls.controls(), std::move(startup));
    }

    TemporaryFolder m_folder;
    int m_rewrites = 0;
    std::unique_ptr<DatabaseServer> m_server;
    std::unique_ptr<NginxServer> m_nginx;
};

INSTANTIATE_TEST_SUITE_P(Servers, IndexRoundTrip,
                         ::testing::Values(Serving::Http, Serving::Https, Serving::Http2,
                                           Serving::Ftp, Serving::File),
                         [](const auto &info) { return std::string(servingName(info.param)); });

TEST_P(IndexRoundTrip, TheQueryShowsWhatThePackagesSay)
{
    ASSERT_EQ(index(), 0);
    serve();

    // Sorted by Hardware ID: the loose folder's lines, then the zipped one's.
    EXPECT_EQ(query(R"(PCI\VEN_8086&DEV_100E)"),
              (Rows{kShortCardRow, kXpCardRow, kWin7CardRow, zippedCardRow("12.0.0.0")}));
    EXPECT_EQ(m_controls.List2.items(),
              (Strings{"SUBSYS_001E8086", "SUBSYS_002E8086", "SUBSYS_11008086"}));

    // The zipped row: its Remote Path names the archive, then the INF file inside it.
    const Rows refined = refine("SUBSYS_11008086");
    ASSERT_EQ(refined, Rows{zippedCardRow("12.0.0.0")});
    EXPECT_EQ(ui::archivePath(refined[0][7]), "/packs/lan.zip");
    EXPECT_TRUE(fs::is_regular_file(root() / "packs/lan.zip"));
    EXPECT_EQ(m_form->LastQuery, R"(PCI\VEN_8086&DEV_100E)");

    EXPECT_EQ(query(R"(PCI\VEN_8086)"),
              (Rows{kShortCardRow, kXpCardRow, kWin7CardRow, zippedCardRow("12.0.0.0"),
                    zippedGigabitRow("12.0.0.0")}));
    EXPECT_EQ(m_controls.List2.items(), (Strings{"DEV_100E", "DEV_10D3"}));

    const Rows receivers = query(R"(USB\VID_046D)");
    EXPECT_EQ(receivers, kReceiverRows);
    EXPECT_EQ(m_controls.List2.items(), (Strings{"PID_C52B", "PID_C534"}));
    for (const Strings &row : receivers) {
        EXPECT_EQ(ui::archivePath(row[7]), "/usb/receiver.7z");
    }
    EXPECT_EQ(refine("PID_C534"), Rows{kReceiverRows[1]});

    // What the nested archive holds is not listed.
    m_form->QueryDatabase(R"(PCI\VEN_8086&DEV_100E&SUBSYS_99998086)", 0);
    EXPECT_EQ(m_controls.Label5.caption(), "Device not found with this detail level!");

    for (const std::string &request : tlsRequests()) {
        EXPECT_TRUE(request.ends_with(GetParam() == Serving::Http2 ? "HTTP/2.0" : "HTTP/1.1"))
            << request;
    }
}

TEST_P(IndexRoundTrip, ARerunChangesExactlyTheLinesOfTheChangedAndRemovedPackages)
{
    ASSERT_EQ(index(), 0);
    putZip("12.1.0.0");
    fs::remove(root() / "usb/receiver.7z");
    ASSERT_EQ(index(), 0);
    serve();

    EXPECT_EQ(query(R"(PCI\VEN_8086)"),
              (Rows{kShortCardRow, kXpCardRow, kWin7CardRow, zippedCardRow("12.1.0.0"),
                    zippedGigabitRow("12.1.0.0")}));
    EXPECT_EQ(query(R"(PCI\VEN_8086&DEV_10D3)"), Rows{zippedGigabitRow("12.1.0.0")});
    m_form->QueryDatabase(R"(USB\VID_046D)", 0);
    EXPECT_EQ(m_controls.Label5.caption(), "Device not found with this detail level!");
    EXPECT_FALSE(fs::exists(root() / "DIRSTRUCT/usb"));
}

} // namespace
} // namespace tollen::testing
