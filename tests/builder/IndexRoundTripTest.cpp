// The whole road of a driver database: packages made at test time (a loose folder and a .zip),
// indexed by the tollen-index program, served by nginx on loopback and looked up through the
// main window's own query on headless controls.

#include "ArchiveFixtures.h"
#include "DatabaseFixture.h"
#include "InfTestText.h"
#include "ui/Form1.h"

#include <gtest/gtest.h>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

/// A loose network driver, stored as most are: UTF-16LE, names from [Strings], decorated models.
const std::string kLooseInf = R"([Version]
Class=Net
DriverVer=05/21/2008, 8.4.21.0
[Manufacturer]
%Intel%=Intel, NTamd64.6.1
[Intel.NTamd64.6.1]
%E100E.Desc% = E100E.Install, PCI\VEN_8086&DEV_100E&SUBSYS_002E8086
[Strings]
Intel = "Intel Corporation"
E100E.Desc = "Intel(R) PRO/1000 MT Desktop Adapter"
)";

TEST(IndexRoundTrip, TheQueryOverNginxShowsWhatThePackagesSay)
{
    TemporaryFolder folder;
    const fs::path root = folder.path() / "drivers";
    writeFile(root / "lan/e1000.inf", utf16LittleEndian(kLooseInf));
    writeFile(root / "packs/lan.zip",
              makeArchive(ArchiveFormat::Zip,
                          {{R"(PRO1000\e1g.inf)",
                            "[Version]\r\nClass=Net\r\nDriverVer=01/01/2011,12.0\r\n"
                            "[Manufacturer]\r\nIntel\r\n[Intel]\r\n"
                            "Zipped = I, pci\\ven_8086&dev_100e&subsys_11008086\r\n"}}));
    ASSERT_EQ(runProgram({TOLLEN_INDEX_PROGRAM, "--quiet", root.string()}), 0);

    const DatabaseServer server(DatabaseServer::Kind::Http, root);
    ui::HeadlessForm1 controls;
    ui::Form1 form(controls.controls(), {});
    server.choose(controls);
    const auto rows = [&] {
        Rows all;
        for (int line = 1; line <= controls.ListView2.rowCount(); ++line) {
            Strings columns = {controls.ListView2.text(line)};
            for (int subItem = 1; subItem <= 8; ++subItem) {
                columns.push_back(controls.ListView2.subItem(line, subItem));
            }
            all.push_back(std::move(columns));
        }
        return all;
    };

    form.QueryDatabase(R"(PCI\VEN_8086&DEV_100E)", 0);
    EXPECT_EQ(rows(),
              (Rows{{"Intel Corporation", "Intel(R) PRO/1000 MT Desktop Adapter",
                     R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086)", "Net", "Windows 7 64-Bit",
                     "8.4.21.0", "05/21/2008", "/lan/e1000.inf", "Folder"},
                    {"Intel", "Zipped", R"(PCI\VEN_8086&DEV_100E&SUBSYS_11008086)", "Net", "",
                     "12.0", "01/01/2011", "/packs/lan.zip/PRO1000/e1g.inf", "Archived"}}));
    EXPECT_EQ(controls.List2.items(), (Strings{"SUBSYS_002E8086", "SUBSYS_11008086"}));
}

} // namespace
} // namespace tollen::testing
