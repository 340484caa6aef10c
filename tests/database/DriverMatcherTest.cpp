#include "database/DriverMatcher.h"

#include "core/PathText.h"
#include "core/Text.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>

namespace tollen::database {
namespace {

using Kind = IndexFileText::Kind;

/// Index files by path, counting how often each is fetched; `failing` fails, others are missing.
class FakeIndexFiles : public IndexFiles
{
public:
    IndexFileText fetch(const std::string &indexFile) override
    {
        fetches.insert(indexFile);
        if (indexFile == failing) {
            return {Kind::Failed, {}, "connection reset"};
        }
        const auto file = files.find(indexFile);
        return file == files.end() ? IndexFileText{} : IndexFileText{Kind::Found, file->second, {}};
    }

    std::map<std::string, std::string> files;
    std::multiset<std::string> fetches;
    std::string failing;
};

/// An index line of a driver for `id`, named `name`.
std::string line(std::string_view name, std::string_view id, std::string_view decoration = "",
                 std::string_view rowClass = "Net")
{
    return "Folder\"Maker\"" + std::string(name) + "\"" + std::string(id) + "\"" +
           std::string(rowClass) + "\"" + std::string(decoration) + "\"1.0\"01/01/2020\"path\r\n";
}

std::vector<std::string> names(const std::vector<MatchedDriver> &drivers)
{
    std::vector<std::string> result;
    for (const MatchedDriver &driver : drivers) {
        result.push_back(driver.row[IndexField::DeviceName]);
    }
    return result;
}

TEST(DriverMatcher, FetchesEachFileOnceAndKeepsTheRowsOfEachIdFromItsOwnFile)
{
    FakeIndexFiles files;
    const std::string card = "PCI\\VEN_8086&DEV_100E";
    const std::string exact = card + "&SUBSYS_AAAA8086&REV_01";
    const std::string codec = "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0";
    files.files["/DIRSTRUCT/pci/VEN_8086/index.txt"] =
        line("vendor", "PCI\\VEN_8086") + line("card", card) + line("exact", exact) +
        line("other", "PCI\\VEN_8086&DEV_1234") +
        line("extension", "PCI\\VEN_8086&DEV_9999", "", "Extension");
    files.files["/DIRSTRUCT/pci/VEN_8086/DEV_100E/index.txt"] =
        line("card", card) + line("exact", exact);
    files.files["/DIRSTRUCT/pci/VEN_8086/DEV_100E/SUBSYS_AAAA8086/REV_01/index.txt"] =
        line("exact", exact, "NTamd64");
    files.files["/DIRSTRUCT/hdaudio/FUNC_01/VEN_10EC/DEV_0662/SUBSYS_103C2AB0/index.txt"] =
        line("codec", codec) + line("codec rev", codec + "&REV_1001");

    DriverMatcher matcher(files, {"amd64", std::nullopt}, true);
    inventory::Device device{
        exact, "card", {exact, card + "&SUBSYS_AAAA8086"}, {asciiLower(card), "PCI\\VEN_8086"}, {}};
    device.driver = {inventory::DriverStatus::Ok, {}, {}, "1.0", "1-1-2019", {}, {}};
    for (int pass = 0; pass < 2; ++pass) {
        const DeviceMatch match = matcher.match(device);
        EXPECT_EQ(names(match.drivers), (std::vector<std::string>{"exact", "card", "vendor"}));
        ASSERT_EQ(match.vendorRows.size(), 1u);
        EXPECT_EQ(match.vendorRows[0][IndexField::DeviceName], "other");
        EXPECT_EQ(match.verdict, Verdict::Update);
    }
    EXPECT_EQ(names(matcher.match({codec, "codec", {codec + "&REV_1001", codec}, {}, {}}).drivers),
              (std::vector<std::string>{"codec rev", "codec"}));
    // A device listing no IDs matches its Device ID; with no vendor piece, the file of the first
    // piece stands for the vendor's.
    files.files["/DIRSTRUCT/acpi/PNP0A03/index.txt"] =
        line("bridge", "ACPI\\PNP0A03") + line("other", "ACPI\\PNP0A03&X");
    const DeviceMatch bridge = matcher.match({"acpi\\PNP0A03", "bridge", {}, {}, {}});
    EXPECT_EQ(names(bridge.drivers), std::vector<std::string>{"bridge"});
    EXPECT_EQ(bridge.vendorRows.size(), 1u);
    EXPECT_EQ(matcher.filesFetched(), 7u);
    EXPECT_EQ(files.fetches.size(), 7u);
    EXPECT_EQ(files.fetches.count("/DIRSTRUCT/hdaudio/FUNC_01/VEN_10EC/index.txt"), 1u);
}

TEST(DriverMatcher, AFailedFetchStopsTheDeviceWithWhatWasFoundBefore)
{
    FakeIndexFiles files;
    const std::string device = "PCI\\VEN_1AF4&DEV_1041";
    files.files["/DIRSTRUCT/pci/VEN_1AF4/DEV_1041/SUBSYS_11001AF4/index.txt"] =
        line("subsystem", device + "&SUBSYS_11001AF4");
    files.failing = "/DIRSTRUCT/pci/VEN_1AF4/DEV_1041/index.txt";
    files.files["/DIRSTRUCT/pci/VEN_1AF4/index.txt"] = line("vendor", "PCI\\VEN_1AF4", "NTamd64");

    DriverMatcher matcher(files, {"amd64", std::nullopt}, true);
    inventory::Device virtio{
        device, "virtio", {device + "&SUBSYS_11001AF4", device}, {"PCI\\VEN_1AF4"}, {}};
    virtio.driver.status = inventory::DriverStatus::None;
    const DeviceMatch match = matcher.match(virtio);
    // The one row found does not apply to amd64, so the device has no driver and no verdict.
    EXPECT_EQ(names(match.drivers), std::vector<std::string>{"subsystem"});
    EXPECT_FALSE(match.found());
    EXPECT_EQ(match.verdict, Verdict::Unknown);
    EXPECT_TRUE(match.vendorRows.empty());
    EXPECT_EQ(matcher.failure(), "connection reset");
    EXPECT_EQ(matcher.filesFetched(), 2u);
}

/// The window's remote files holding one file, `content`; without it, downloads fail as `failure`
/// (or, when that is none, report success and leave no copy).
class FakeRemoteFiles : public RemoteFiles
{
public:
    std::int32_t GetFileSize(const std::string &) override { return 0; }
    std::int16_t DownloadFile(std::string &, std::string &strdestination,
                              std::int64_t sizeLimit) override
    {
        m_failure = content && sizeLimit == kIndexFileLimit ? transfer::TransferFailure{} : failure;
        if (m_failure) {
            return 0;
        }
        if (content) {
            std::ofstream(pathFromUtf8(strdestination), std::ios::binary) << *content;
        }
        return 1;
    }
    bool streamFile(const std::string &, std::uint64_t, const FileBytes &) override
    {
        return false;
    }
    const transfer::TransferFailure &lastFailure() const override { return m_failure; }

    std::optional<std::string> content;
    transfer::TransferFailure failure{transfer::FailureKind::NotFound, "no such file"};

private:
    transfer::TransferFailure m_failure;
};

TEST(RemoteIndexFiles, DownloadsTheWholeFileAndTellsAMissingFileFromAFailedTransfer)
{
    FakeRemoteFiles remote;
    RemoteIndexFiles files(remote);
    const std::string path = "/DIRSTRUCT/pci/VEN_8086/index.txt";
    remote.content = "Folder\"Caf\xE9\"";
    const IndexFileText text = files.fetch(path);
    EXPECT_EQ(text.kind, Kind::Found);
    EXPECT_EQ(text.text, "Folder\"Caf\xC3\xA9\"");

    remote.content.reset();
    EXPECT_EQ(files.fetch(path).kind, Kind::Missing);
    // A download reported as done that left no copy does not read the last file again.
    remote.failure = {};
    EXPECT_EQ(files.fetch(path).kind, Kind::Missing);
    remote.failure = {transfer::FailureKind::NoConnection, "connection refused"};
    const IndexFileText failed = files.fetch(path);
    EXPECT_EQ(failed.kind, Kind::Failed);
    EXPECT_EQ(failed.reason, "connection refused");
}

} // namespace
} // namespace tollen::database
