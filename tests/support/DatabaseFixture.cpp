#include "DatabaseFixture.h"

#include "EnvironmentOverride.h"
#include "core/Environment.h"
#include "core/RunFolder.h"
#include "database/IndexLine.h"
#include "ui/DemoDatabase.h"

#include <gtest/gtest.h>
#include <optional>

namespace tollen::testing {
namespace {

namespace fs = std::filesystem;

/// The test program's temporary directory: TEMP (and TMP, which Windows reads first) point into
/// a folder of its own for the whole run, so the query's run folder is made there and removed
/// with it; both are restored after.
class TemporaryDirectoryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_folder.emplace();
        m_temp.emplace("TEMP", m_folder->path().string());
        m_tmp.emplace("TMP", m_folder->path().string());
        ASSERT_EQ(temporaryDirectory(), m_folder->path());
    }
    void TearDown() override
    {
        m_tmp.reset();
        m_temp.reset();
        m_folder.reset();
    }

private:
    std::optional<TemporaryFolder> m_folder;
    std::optional<EnvironmentOverride> m_temp;
    std::optional<EnvironmentOverride> m_tmp;
};

[[maybe_unused]] ::testing::Environment *const kTemporaryDirectory =
    ::testing::AddGlobalTestEnvironment(new TemporaryDirectoryEnvironment);

} // namespace

std::string indexLine(const std::vector<std::string> &fields)
{
    database::IndexFields line;
    for (std::size_t index = 0; index < fields.size() && index < database::kFieldCount; ++index) {
        line[static_cast<database::IndexField>(index)] = fields[index];
    }
    return database::joinIndexLine(line);
}

void writeIndex(const fs::path &root, const std::string &directory,
                const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines) {
        text += line + "\r\n";
    }
    writeFile(root / "DIRSTRUCT" / directory / "index.txt", text);
}

fs::path localIndexCopy()
{
    return runFolder().path / "index.txt";
}

void writeSampleDatabase(const fs::path &root)
{
    const std::string card = "Intel PRO/1000 MT Desktop Adapter";
    // Rows that stand in the index of their vendor and in that of their device.
    const std::string pro1000 = indexLine(
        {"Archived", "Intel", card, R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02)", "Net",
         "NTAMD64.6.1", "8.4.21.0", "05/21/2008", "/drivers/intel/pro1000.zip/win7/e1000.inf"});
    const std::string unifying = indexLine(
        {"Archived", "Logitech", "Unifying Receiver", R"(USB\VID_046D&PID_C52B)", "HIDClass",
         "NTAMD64.6.2", "1.10.0", "04/04/2013", "/drivers/logitech/unifying.zip"});
    writeIndex(root, "pci/VEN_8086",
               {
                   pro1000,
                   indexLine({"Folder", "Intel", "82574L Gigabit Network Connection",
                              R"(PCI\VEN_8086&DEV_10D3&SUBSYS_00008086)", "Net", "NTAMD64.6.1",
                              "12.0.0.0", "01/01/2011", "/drivers/intel/82574/e1g.inf"}),
               });
    writeIndex(
        root, "pci/VEN_8086/DEV_100E",
        {
            pro1000,
            indexLine({"Archived", "Intel", card, R"(PCI\VEN_8086&DEV_100E&SUBSYS_001E8086)", "Net",
                       "ntx86.5.1", "8.3.15.0", "03/02/2006", "/drivers/intel/pro1000-xp.zip"}),
            indexLine({"Folder", "Intel", card, R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_03)",
                       "Net", "NTARM64", "9.0.0.0", "01/01/2020", "/drivers/intel/arm/e1000.inf"}),
            indexLine({"Folder", "Intel", "PRO/1000 MT", R"(pci\ven_8086&dev_100e&rev_02)", "Net",
                       "NTx86.10.0", "9.1.0.0", "02/02/2021", "/drivers/intel/win10/e1000.inf"}),
        });
    writeIndex(
        root, "pci/VEN_8086/DEV_100E/SUBSYS_002E8086",
        {indexLine({"Folder", "Intel", card + " (OEM)", R"(PCI\VEN_8086&DEV_100E&SUBSYS_002E8086)",
                    "Net", "NTAMD64", "8.4.22.0", "06/01/2008", "/drivers/intel/oem/e1000.inf"})});
    writeIndex(
        root, "usb/VID_046D",
        {
            unifying,
            indexLine({"Archived", "Logitech", "Nano Receiver", R"(USB\VID_046D&PID_C534&MI_00)",
                       "HIDClass", "NT.6", "1.0.0", "01/01/2014", "/drivers/logitech/nano.zip"}),
        });
    writeIndex(root, "usb/VID_046D/PID_C52B", {unifying});
    writeIndex(
        root, "hdaudio/FUNC_01/VEN_10EC/DEV_0662",
        {indexLine({"Archived", "Realtek", "Realtek High Definition Audio",
                    R"(HDAUDIO\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0)", "MEDIA", "NTAMD64.6.1",
                    "6.0.1.6662", "05/10/2012", "/drivers/realtek/hda.zip"})});
}

DatabaseServer::DatabaseServer(Kind kind, const fs::path &root) : m_kind(kind), m_root(root)
{
    if (kind == Kind::Http) {
        m_nginx = std::make_unique<NginxServer>(root);
    } else if (kind == Kind::Ftp) {
        m_vsftpd = std::make_unique<VsftpServer>(root);
    }
}

void DatabaseServer::choose(ui::HeadlessForm1 &controls) const
{
    controls.Option1.select(m_kind == Kind::Ftp ? 1 : 0);
    controls.host.setText(m_nginx    ? m_nginx->url()
                          : m_vsftpd ? m_vsftpd->host()
                                     : ui::fileUrl(m_root));
    controls.path.setText("/");
    controls.user.setText("anonymous");
    controls.pass.setText("guest");
}

std::vector<std::string> DatabaseServer::requests(std::size_t count) const
{
    return m_nginx ? m_nginx->requests(count) : std::vector<std::string>();
}

std::string DatabaseServer::ftpLog() const
{
    return m_vsftpd ? m_vsftpd->log() : std::string();
}

int DatabaseServer::ftpLogins() const
{
    return m_vsftpd ? m_vsftpd->loginCount() : 0;
}

const char *kindName(DatabaseServer::Kind kind)
{
    return kind == DatabaseServer::Kind::Http  ? "nginx"
           : kind == DatabaseServer::Kind::Ftp ? "vsftpd"
                                               : "file";
}

} // namespace tollen::testing
